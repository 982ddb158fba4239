// UTF-8 names turned into Windows' UTF-16 and back, and Windows' errors in the C library's terms.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

// The UTF-16 form of a UTF-8 name, for the wide ("W") functions. False, with errno EILSEQ, when
// the bytes are not UTF-8: such a name is refused rather than guessed at.
bool WideName(const std::string& utf8, std::wstring& wide);

// The UTF-8 form of UTF-16 text from Windows (a folder's path, an argument). Unpaired surrogates,
// which no file name the game makes holds, become U+FFFD.
std::string Utf8Text(const wchar_t* wide, int length = -1);

// The errno value closest to one of GetLastError's, for the messages the C library words.
int ErrnoOfSystemError(DWORD error);

// Windows' own words for one of its errors, without the line break it ends them with.
std::string SystemReason(DWORD error);
