// UTF-16 <-> UTF-8 for the stand-in's call log, script and control functions.  Kept apart
// from the COM objects so that the script parser builds alone into the tests.
#pragma once
#include <string>

namespace speech_standin {

std::string toUtf8(const std::wstring& text);
// Returns false when the bytes are not valid UTF-8.
bool fromUtf8(const std::string& text, std::wstring& out);

}  // namespace speech_standin
