// plxrc on small scripts: the subset of the resource language, the resource compiler's style
// defaults, and a clear error with file and line for every mistake.
#include <gtest/gtest.h>

#include "TestSupport.h"

using plx::test::ReadFile;
using plx::test::RunProcess;
using plx::test::TempDir;
using plx::test::WriteFile;

namespace {

struct Compiled {
  int exitCode;
  std::string output;  // what plxrc printed
  std::string source;  // the generated C++
};

Compiled Compile(const TempDir& dir, const std::string& script) {
  WriteFile(dir / "test.rc", script);
  const plx::test::ProcessResult run =
      RunProcess({PLXRC_PATH, "-d", (dir / "test.d").string(), (dir / "test.rc").string(),
                  (dir / "test.cpp").string()});
  std::error_code ec;
  const bool exists = std::filesystem::exists(dir / "test.cpp", ec);
  return {run.exitCode, run.output, exists ? ReadFile(dir / "test.cpp") : std::string()};
}

const char kScript[] = R"rc(/* A script with every statement plxrc reads. */
#include "ids/Ids.h"
#include "afxres.h"
#define WIDE_STYLE WS_TABSTOP | \
                   WS_GROUP
#ifdef UNDEFINED_NAME
#error not taken
#else
#define TITLE "Title"
#endif

IDD_ONE DIALOG DISCARDABLE 1, 2, 300, 200
CAPTION "One"   // no STYLE: the compiler's default
BEGIN
  LTEXT "Left", IDC_STATIC, 1, 2, 3, 4
  RTEXT "Right", IDC_A, 1, 2, 3, 4, NOT WS_GROUP
  CTEXT "Centre", IDC_B, 1, 2, 3, 4
  PUSHBUTTON "Push", 3, 1, 2, 3, 4, WS_DISABLED
  DEFPUSHBUTTON "Def", IDOK, 1, 2, 3, 4
  RADIOBUTTON "R", 4, 1, 2, 3, 4
  AUTORADIOBUTTON "AR", 5, 1, 2, 3, 4, NOT WS_TABSTOP
  GROUPBOX "G", 6, 1, 2, 3, 4
  CONTROL "C", 7, BUTTON, BS_AUTOCHECKBOX | WIDE_STYLE, 1, 2, 3, 4, WS_EX_CLIENTEDGE
  CONTROL "", 8, "msctls_trackbar32", TBS_VERT | NOT WS_VISIBLE, -1, -2, 3, 4
  EDITTEXT 9, 1, 2, 3, 4, ES_AUTOHSCROLL
END

20 DIALOGEX 0, 0, 50, 60, 0
STYLE WS_POPUP | WS_CAPTION
EXSTYLE WS_EX_TOOLWINDOW
CAPTION TITLE
FONT 9, "Segoe UI", 400, 0, 0x1
{
  LTEXT "Tab\there ""quoted""", 11, 1, 2, 3, 4, 0, 0, 77
}

STRINGTABLE
BEGIN
  1, "First"
  IDC_B "Line\nbreak \\ back \x263A"
END
)rc";

}  // namespace

TEST(ResourceCompiler, CompilesTheSubsetWithTheCompilersStyleDefaults) {
  TempDir dir;
  std::filesystem::create_directory(dir / "ids");
  WriteFile(dir / "ids" / "Ids.h",
            "#pragma once\n#define IDD_ONE 10\n#define IDC_A 100\n#define BASE 200\n#define IDC_B "
            "(BASE + 1)\n");
  const Compiled out = Compile(dir, kScript);
  ASSERT_EQ(out.exitCode, 0) << out.output;
  const char* expected[] = {
      "{0x50020000u, 0x00000000u, 1, 2, 3, 4, -1, L\"Static\", L\"Left\"},",
      "{0x50000002u, 0x00000000u, 1, 2, 3, 4, 100, L\"Static\", L\"Right\"},",
      "{0x50020001u, 0x00000000u, 1, 2, 3, 4, 201, L\"Static\", L\"Centre\"},",
      "{0x58010000u, 0x00000000u, 1, 2, 3, 4, 3, L\"Button\", L\"Push\"},",
      "{0x50010001u, 0x00000000u, 1, 2, 3, 4, 1, L\"Button\", L\"Def\"},",
      "{0x50010004u, 0x00000000u, 1, 2, 3, 4, 4, L\"Button\", L\"R\"},",
      "{0x50000009u, 0x00000000u, 1, 2, 3, 4, 5, L\"Button\", L\"AR\"},",
      "{0x50000007u, 0x00000000u, 1, 2, 3, 4, 6, L\"Button\", L\"G\"},",
      "{0x50030003u, 0x00000200u, 1, 2, 3, 4, 7, L\"Button\", L\"C\"},",
      "{0x40000002u, 0x00000000u, -1, -2, 3, 4, 8, L\"msctls_trackbar32\", L\"\"},",
      "{0x50810080u, 0x00000000u, 1, 2, 3, 4, 9, L\"Edit\", L\"\"},",
      "{10u, FALSE, 0x80C80000u, 0x00000000u, 1, 2, 300, 200, L\"One\", 0, L\"\", kDialog10Items, "
      "11},",
      "{0x50020000u, 0x00000000u, 1, 2, 3, 4, 11, L\"Static\", L\"Tab\\011here \\\"quoted\\\"\"},",
      "{20u, TRUE, 0x80C00040u, 0x00000080u, 0, 0, 50, 60, L\"Title\", 9, L\"Segoe UI\", "
      "kDialog20Items, 1},",
      "{1u, L\"First\"},",
      "{201u, L\"Line\\012break \\\\ back \\u263A\"},",
      "const plx::mfc::ResourceTable PlxResourceTable = {\n    plx::mfc::kResourceTableVersion, "
      "kDialogs, 2, kStrings, 2};",
  };
  for (const char* line : expected)
    EXPECT_NE(out.source.find(line), std::string::npos) << line << "\n" << out.source;
  const std::string deps = ReadFile(dir / "test.d");
  EXPECT_NE(deps.find("test.rc"), std::string::npos) << deps;
  EXPECT_NE(deps.find("ids/Ids.h"), std::string::npos) << deps;
}

TEST(ResourceCompiler, ReadsUtf16ScriptsAsTheResourceEditorSavesThem) {
  TempDir dir;
  const std::string text = "STRINGTABLE\r\nBEGIN\r\n  7 \"\xC3\xA9t\xC3\xA9\"\r\nEND\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("STRINGTABLE\r\nBEGIN\r\n  7 \"")) utf16 += {c, '\0'};
  utf16 += {'\xE9', '\0', 't', '\0', '\xE9', '\0'};
  for (const char c : std::string("\"\r\nEND\r\n")) utf16 += {c, '\0'};
  const Compiled out = Compile(dir, utf16);
  ASSERT_EQ(out.exitCode, 0) << out.output;
  EXPECT_NE(out.source.find("{7u, L\"\\u00E9t\\u00E9\"},"), std::string::npos) << out.source;
  const Compiled utf8 = Compile(dir, text);
  ASSERT_EQ(utf8.exitCode, 0) << utf8.output;
  EXPECT_NE(utf8.source.find("{7u, L\"\\u00E9t\\u00E9\"},"), std::string::npos) << utf8.source;
}

struct ErrorCase {
  const char* name;
  std::string script;
  std::string message;  // after the script's path
};

class ResourceCompilerError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ResourceCompilerError, NamesTheFileAndLineAndKeepsTheOldOutput) {
  TempDir dir;
  WriteFile(dir / "test.cpp", "previous");
  const Compiled out = Compile(dir, GetParam().script);
  EXPECT_EQ(out.exitCode, 1);
  EXPECT_NE(out.output.find("test.rc" + GetParam().message), std::string::npos) << out.output;
  EXPECT_EQ(out.source, "previous");
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, ResourceCompilerError,
    ::testing::Values(
        ErrorCase{"UndefinedName",
                  "1 DIALOG 0,0,10,10\nBEGIN\n  LTEXT \"a\", UNKNOWN_ID, 1,2,3,4\nEND\n",
                  "(3): error: undefined name 'UNKNOWN_ID'"},
        ErrorCase{"UnterminatedString", "STRINGTABLE\nBEGIN\n 1 \"abc\nEND\n",
                  "(3): error: unterminated string"},
        ErrorCase{"UnsupportedType", "1 ICON \"a.ico\"\n",
                  "(1): error: resource type ICON is not supported"},
        ErrorCase{"MissingInclude", "#include \"nothere.h\"\n",
                  "(1): error: cannot find include file 'nothere.h'"},
        ErrorCase{"DialogTwice", "1 DIALOG 0,0,1,1\nBEGIN\nEND\n1 DIALOG 0,0,1,1\nBEGIN\nEND\n",
                  "(4): error: dialog 1 is defined twice"},
        ErrorCase{"MissingEnd", "1 DIALOG 0,0,1,1\nBEGIN\n LTEXT \"a\", 1, 1,2,3,4\n",
                  "(3): error: END is missing"},
        ErrorCase{"OpenConditional", "#ifdef X\n", "(1): error: #if without #endif"},
        ErrorCase{"StrayEndif", "#endif\n", "(1): error: #endif without #if"},
        ErrorCase{"WidthOutOfRange", "1 DIALOG 0,0,40000,1\nBEGIN\nEND\n",
                  "(1): error: width 40000 is out of range -32768 to 32767"},
        ErrorCase{"StringTwice", "STRINGTABLE\nBEGIN\n 5 \"a\"\n 5 \"b\"\nEND\n",
                  "(4): error: string 5 is defined twice"},
        ErrorCase{"UnsupportedControl", "1 DIALOG 0,0,1,1\nBEGIN\n LISTBOX 1, 1,2,3,4\nEND\n",
                  "(3): error: control LISTBOX is not supported"},
        ErrorCase{"MissingComma", "1 DIALOG 0,0,1,1\nBEGIN\n LTEXT \"a\" 1, 1,2,3,4\nEND\n",
                  "(3): error: ',' is expected, found '1'"},
        ErrorCase{"ErrorDirective", "#error stop here\n", "(1): error: #error stop here"},
        ErrorCase{"DialogIdZero", "0 DIALOG 0,0,1,1\nBEGIN\nEND\n",
                  "(1): error: dialog id 0 is out of range 1 to 65535"},
        ErrorCase{"FunctionLikeMacro",
                  "#define ID(x) x\n1 DIALOG 0,0,1,1\nBEGIN\n LTEXT \"a\", ID, 1,2,3,4\nEND\n",
                  "(4): error: function-like macro 'ID' is not supported"},
        ErrorCase{"NotUtf8", "1 DIALOG \x80\n", "(1): error: the file is not UTF-8 text"}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST(ResourceCompiler, MissingScriptAndBadArgumentsFail) {
  TempDir dir;
  const plx::test::ProcessResult missing =
      RunProcess({PLXRC_PATH, (dir / "absent.rc").string(), (dir / "out.cpp").string()});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.output.find("error: cannot open '"), std::string::npos) << missing.output;
  EXPECT_FALSE(std::filesystem::exists(dir / "out.cpp"));
  EXPECT_EQ(RunProcess({PLXRC_PATH, "only-one.rc"}).exitCode, 2);
}
