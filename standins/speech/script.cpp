// Script parser.  Never throws on bad input: every bad line becomes a ScriptError and
// parsing goes on with the next line.
#include "script.h"
#include "utf8.h"
#include <cerrno>
#include <cstdlib>

namespace speech_standin {

namespace {

enum class Argument { None, Number, Text };

struct CommandInfo {
    const char* word;
    ScriptCommand command;
    Argument argument;
    bool optional;       // the argument may be left out
    long defaultValue;
    const wchar_t* defaultText;
    long minValue, maxValue;
};

const CommandInfo kCommands[] = {
    {"wait", ScriptCommand::Wait, Argument::Number, false, 0, L"", 0, 600000},
    {"stream", ScriptCommand::Stream, Argument::Number, false, 1, L"", 0, 0x7FFFFFFF},
    {"start-stream", ScriptCommand::StartStream, Argument::None, false, 0, L"", 0, 0},
    {"end-stream", ScriptCommand::EndStream, Argument::None, false, 0, L"", 0, 0},
    {"sound-start", ScriptCommand::SoundStart, Argument::None, false, 0, L"", 0, 0},
    {"sound-end", ScriptCommand::SoundEnd, Argument::None, false, 0, L"", 0, 0},
    {"phrase-start", ScriptCommand::PhraseStart, Argument::None, false, 0, L"", 0, 0},
    {"hypothesis", ScriptCommand::Hypothesis, Argument::Text, true, 0, L"", 0, 0},
    {"recognition", ScriptCommand::Recognition, Argument::Text, true, 0, L"", 0, 0},
    {"false-recognition", ScriptCommand::FalseRecognition, Argument::Text, true, 0, L"", 0, 0},
    {"interference", ScriptCommand::Interference, Argument::Number, true, 1, L"", -0x7FFFFFFF, 0x7FFFFFFF},
    {"request-ui", ScriptCommand::RequestUI, Argument::Text, true, 0, L"MicTraining", 0, 0},
    {"other-context", ScriptCommand::OtherContext, Argument::None, false, 0, L"", 0, 0},
    {"audio-level", ScriptCommand::AudioLevel, Argument::Number, false, 0, L"", 0, 100},
    {"wait-for-file", ScriptCommand::WaitForFile, Argument::Text, false, 0, L"", 0, 0},
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool parseNumber(const std::string& text, long& value)
{
    if (text.empty()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (!(c >= '0' && c <= '9') && !(i == 0 && (c == '-' || c == '+'))) return false;
    }
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || end != text.c_str() + text.size()) return false;
    if (v < -0x7FFFFFFFLL || v > 0x7FFFFFFFLL) return false;
    value = static_cast<long>(v);
    return true;
}

// Parses one line that is neither blank nor a comment.  Returns an empty string on
// success, else the reason the line is bad.
std::string parseLine(const std::string& line, int number, ScriptStep& step)
{
    size_t wordEnd = 0;
    while (wordEnd < line.size() && !isBlank(line[wordEnd])) ++wordEnd;
    std::string word = line.substr(0, wordEnd);
    size_t argStart = wordEnd;
    while (argStart < line.size() && isBlank(line[argStart])) ++argStart;
    std::string argument = line.substr(argStart);

    const CommandInfo* info = nullptr;
    for (const CommandInfo& c : kCommands)
        if (word == c.word) info = &c;
    if (!info) return "unknown command '" + word + "'";

    step = ScriptStep();
    step.command = info->command;
    step.line = number;
    step.value = info->defaultValue;
    step.text = info->defaultText;
    switch (info->argument) {
    case Argument::None:
        if (!argument.empty()) return "'" + word + "' takes no argument";
        break;
    case Argument::Number:
        if (argument.empty()) {
            if (!info->optional) return "'" + word + "' needs a number";
            break;
        }
        if (!parseNumber(argument, step.value)) return "'" + argument + "' is not a number";
        if (step.value < info->minValue || step.value > info->maxValue)
            return "'" + argument + "' is out of range for '" + word + "' (" + std::to_string(info->minValue) + ".." +
                   std::to_string(info->maxValue) + ")";
        break;
    case Argument::Text:
        if (argument.empty()) {
            if (!info->optional) return "'" + word + "' needs a text";
            break;
        }
        if (!fromUtf8(argument, step.text)) return "text is not UTF-8";
        break;
    }
    return std::string();
}

}  // namespace

ParsedScript parseScript(const std::string& utf8Text)
{
    ParsedScript result;
    size_t pos = 0;
    // A byte-order mark is not part of the first command.
    if (utf8Text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
    int number = 0;
    while (pos < utf8Text.size()) {
        size_t end = utf8Text.find('\n', pos);
        if (end == std::string::npos) end = utf8Text.size();
        std::string line = utf8Text.substr(pos, end - pos);
        pos = end + 1;
        ++number;

        size_t first = 0;
        while (first < line.size() && isBlank(line[first])) ++first;
        size_t last = line.size();
        while (last > first && isBlank(line[last - 1])) --last;
        line = line.substr(first, last - first);
        if (line.empty() || line[0] == '#') continue;
        if (line.find('\0') != std::string::npos) {
            result.errors.push_back({number, "line holds a NUL byte"});
            continue;
        }
        ScriptStep step;
        std::string error = parseLine(line, number, step);
        if (error.empty()) result.steps.push_back(std::move(step));
        else result.errors.push_back({number, error});
    }
    return result;
}

}  // namespace speech_standin
