// Windows and C runtime stand-in: the types, constants and calls the module uses, with the
// platform's names and values. Paths may use '\' or '/'; both are separators and map to '/'
// where they reach the Linux file system (UTF-8 on disk).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cwchar>

typedef int BOOL;
typedef int INT;
typedef unsigned int UINT;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef int32_t LONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef intptr_t LPARAM;
typedef uintptr_t WPARAM;
typedef intptr_t LRESULT;
typedef wchar_t WCHAR;
typedef wchar_t TCHAR;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef wchar_t* LPTSTR;
typedef const wchar_t* LPCTSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef void* HANDLE;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HMENU__* HMENU;
typedef struct HICON__* HICON;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define WINAPI
#define APIENTRY
#define CALLBACK
#define _T(x) L##x
#define TEXT(x) L##x

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

#define MAX_PATH 260
#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_YESNO 0x00000004u
#define MB_ICONHAND 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION 0x00000040u

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#define SE_ERR_FNF 2
#define SE_ERR_NOASSOC 31

#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  WCHAR cFileName[MAX_PATH];
  WCHAR cAlternateFileName[14];
};
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATAW;

// The file name of a loaded module (null: the running program) into buffer, cut to size - 1
// characters and always terminated; returns the characters written, 0 on failure.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

// Splits a path into drive ("C:" or empty), directory (with its final separator), file name
// and extension (with its dot). Any output may be null. Each output is cut to the runtime's
// buffer size (_MAX_DRIVE, _MAX_DIR, _MAX_FNAME, _MAX_EXT).
void _wsplitpath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* fname, wchar_t* ext);

// printf-style formatting with the platform's wide rules (%s takes a wide string, %S a narrow
// one). _swprintf trusts the buffer to be large enough, as on the platform; swprintf_s cuts at
// size. Both return the characters written, or -1.
int _swprintf(wchar_t* buffer, const wchar_t* format, ...);
int swprintf_s(wchar_t* buffer, size_t size, const wchar_t* format, ...);

// The value of an environment variable, looked up without regard to case; null when unset.
// The pointer stays valid until the same variable is looked up again.
wchar_t* _wgetenv(const wchar_t* name);

// A unique file name in dir (or the temporary folder when dir is unusable) beginning with
// prefix; allocated with malloc, to be freed by the caller. Null on failure.
wchar_t* _wtempnam(const wchar_t* dir, const wchar_t* prefix);

// Deletes a file: 0 on success, -1 on failure.
int _wunlink(const wchar_t* path);

// Shows the caption and text on the host's transcript; returns IDOK.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// "open" hands the file to the desktop (xdg-open) where a display is present. Returns a value
// above 32 on success, SE_ERR_FNF when the file is missing, SE_ERR_NOASSOC when no program
// takes it.
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, INT show);

// Files matching a pattern whose last component may hold '*' and '?', compared without regard
// to case. INVALID_HANDLE_VALUE when nothing matches.
HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data);
BOOL FindClose(HANDLE find);
