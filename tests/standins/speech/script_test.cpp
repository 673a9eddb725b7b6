// The event script parser on good, odd and malformed input.
#include <gtest/gtest.h>
#include <windows.h>
#include "script.h"

using speech_standin::parseScript;
using speech_standin::ScriptCommand;

namespace {

struct GoodRow {
    const char* line;
    ScriptCommand command;
    long value;
    const wchar_t* text;
};

TEST(Script_Parser, ParsesEveryCommand)
{
    const GoodRow rows[] = {
        {"wait 250", ScriptCommand::Wait, 250, L""},
        {"wait 0", ScriptCommand::Wait, 0, L""},
        {"stream 7", ScriptCommand::Stream, 7, L""},
        {"start-stream", ScriptCommand::StartStream, 0, L""},
        {"end-stream", ScriptCommand::EndStream, 0, L""},
        {"sound-start", ScriptCommand::SoundStart, 0, L""},
        {"sound-end", ScriptCommand::SoundEnd, 0, L""},
        {"phrase-start", ScriptCommand::PhraseStart, 0, L""},
        {u8"hypothesis 今天", ScriptCommand::Hypothesis, 0, L"今天"},
        {u8"recognition 今天天气很好", ScriptCommand::Recognition, 0, L"今天天气很好"},
        {"recognition", ScriptCommand::Recognition, 0, L""},
        {"false-recognition", ScriptCommand::FalseRecognition, 0, L""},
        {"interference", ScriptCommand::Interference, 1, L""},
        {"interference 3", ScriptCommand::Interference, 3, L""},
        {"request-ui", ScriptCommand::RequestUI, 0, L"MicTraining"},
        {"request-ui UserTraining", ScriptCommand::RequestUI, 0, L"UserTraining"},
        {"other-context", ScriptCommand::OtherContext, 0, L""},
        {"audio-level 0", ScriptCommand::AudioLevel, 0, L""},
        {"audio-level 100", ScriptCommand::AudioLevel, 100, L""},
    };
    for (const GoodRow& row : rows) {
        auto parsed = parseScript(row.line);
        ASSERT_TRUE(parsed.errors.empty()) << "row '" << row.line << "': " << parsed.errors[0].message;
        ASSERT_EQ(1u, parsed.steps.size()) << "row '" << row.line << "'";
        EXPECT_EQ(row.command, parsed.steps[0].command) << "row '" << row.line << "'";
        EXPECT_EQ(row.value, parsed.steps[0].value) << "row '" << row.line << "'";
        EXPECT_EQ(std::wstring(row.text), parsed.steps[0].text) << "row '" << row.line << "'";
        EXPECT_EQ(1, parsed.steps[0].line) << "row '" << row.line << "'";
    }
}

TEST(Script_Parser, SkipsCommentsBlankLinesAndByteOrderMark)
{
    auto parsed = parseScript("\xEF\xBB\xBF# heading\r\n\r\n   \t\n  # indented comment\nsound-start\r\n\nsound-end");
    ASSERT_TRUE(parsed.errors.empty());
    ASSERT_EQ(2u, parsed.steps.size());
    EXPECT_EQ(ScriptCommand::SoundStart, parsed.steps[0].command);
    EXPECT_EQ(5, parsed.steps[0].line);
    EXPECT_EQ(ScriptCommand::SoundEnd, parsed.steps[1].command);
    EXPECT_EQ(7, parsed.steps[1].line);
}

TEST(Script_Parser, TextKeepsInnerBlanksAndDropsOuterOnes)
{
    auto parsed = parseScript(u8"hypothesis \t 你好  世界 #1  \r\n");
    ASSERT_EQ(1u, parsed.steps.size());
    EXPECT_EQ(std::wstring(L"你好  世界 #1"), parsed.steps[0].text);
}

struct BadRow {
    const char* line;
    const char* reasonPart;
};

TEST(Script_Parser, ReportsBadLinesAndKeepsTheGoodOnes)
{
    const BadRow rows[] = {
        {"jump", "unknown command 'jump'"},
        {"Sound-Start", "unknown command"},
        {"wait", "needs a number"},
        {"wait abc", "not a number"},
        {"wait 12ms", "not a number"},
        {"wait -5", "out of range"},
        {"wait 600001", "out of range"},
        {"wait 99999999999999999999", "not a number"},
        {"audio-level 101", "out of range"},
        {"audio-level -1", "out of range"},
        {"audio-level", "needs a number"},
        {"sound-start now", "takes no argument"},
        {"stream -1", "out of range"},
        {"hypothesis \xC3\x28", "not UTF-8"},
        {"recognition \xFF\xFE", "not UTF-8"},
    };
    for (const BadRow& row : rows) {
        std::string script = std::string("sound-start\n") + row.line + "\nsound-end\n";
        auto parsed = parseScript(script);
        ASSERT_EQ(1u, parsed.errors.size()) << "row '" << row.line << "'";
        EXPECT_EQ(2, parsed.errors[0].line) << "row '" << row.line << "'";
        EXPECT_NE(std::string::npos, parsed.errors[0].message.find(row.reasonPart))
            << "row '" << row.line << "': " << parsed.errors[0].message;
        ASSERT_EQ(2u, parsed.steps.size()) << "row '" << row.line << "'";
        EXPECT_EQ(ScriptCommand::SoundEnd, parsed.steps[1].command) << "row '" << row.line << "'";
        EXPECT_EQ(3, parsed.steps[1].line) << "row '" << row.line << "'";
    }
}

TEST(Script_Parser, SurvivesBinaryGarbage)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) & 0xFF);
    auto parsed = parseScript(garbage);
    EXPECT_FALSE(parsed.errors.empty());
    auto nul = parseScript(std::string("sound-start\0x\n", 14));
    ASSERT_EQ(1u, nul.errors.size());
    EXPECT_TRUE(nul.steps.empty());
}

TEST(Script_Parser, DemoScriptHasNoBadLines)
{
    // Wine maps drive Z: to the Unix root.
    HANDLE file = CreateFileA("Z:" STANDIN_DEMO_SCRIPT, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    std::string content(1 << 16, '\0');
    DWORD read = 0;
    ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    auto parsed = parseScript(content);
    EXPECT_TRUE(parsed.errors.empty()) << parsed.errors[0].line << ": " << parsed.errors[0].message;
    int recognitions = 0;
    for (const auto& step : parsed.steps) recognitions += step.command == ScriptCommand::Recognition;
    EXPECT_EQ(3, recognitions);
}

TEST(Script_Parser, EmptyScriptHasNoSteps)
{
    auto parsed = parseScript("");
    EXPECT_TRUE(parsed.steps.empty());
    EXPECT_TRUE(parsed.errors.empty());
}

}  // namespace
