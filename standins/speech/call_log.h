// The call log: one UTF-8 line per call a client makes, kept in memory for tests in this
// process (control functions) and appended to SPEECH_STANDIN_LOG for tests in another.
// What a line says is decided by the caller; this file only stores and writes lines.
#pragma once
#include <string>

namespace speech_standin {

void logCall(const std::wstring& line);
// All lines so far, each ended by '\n'.
std::string callLogText();
void clearCallLog();

}  // namespace speech_standin
