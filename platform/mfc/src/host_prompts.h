// The host's editor prompts, which the dialogs ask their questions with, so that keyword
// matching and cancelling are the host's own. MFC sits below the host library (the host links
// MFC), so the references are weak: they bind to the host when it is in the process, and a
// program without the host sees HostPromptsAvailable() false and gets no dialogs.
#pragma once

#include "aced.h"

int acedInitGet(int flags, const ACHAR* keywords) __attribute__((weak));
int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t resultLength) __attribute__((weak));
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, size_t resultLength)
    __attribute__((weak));
int acedGetInt(const ACHAR* prompt, int* result) __attribute__((weak));

namespace plx::mfc {

inline bool HostPromptsAvailable() {
  int (*getKword)(const ACHAR*, ACHAR*, size_t) = &acedGetKword;
  int (*getString)(int, const ACHAR*, ACHAR*, size_t) = &acedGetString;
  return &acedInitGet != nullptr && getKword != nullptr && getString != nullptr &&
         &acedGetInt != nullptr;
}

}  // namespace plx::mfc
