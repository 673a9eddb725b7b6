// The event script: UTF-8 text, one command per line, turned into steps the context plays.
// Parsing only; playing (timers, delivery) belongs to the context.
//
//   # comment                  blank lines and lines starting with '#' are ignored
//   wait <ms>                  pause playback (0..600000); also advances the stream position
//   stream <n>                 stream number of the following events (default 1)
//   start-stream               StartStream
//   end-stream                 EndStream (StreamReleased false)
//   sound-start | sound-end    SoundStart / SoundEnd
//   phrase-start               PhraseStart
//   hypothesis [text]          Hypothesis with a result whose phrase text is <text>
//   recognition [text]         Recognition (type SRTStandard) with a result of <text>
//   false-recognition [text]   FalseRecognition with a result of <text>
//   interference [n]           Interference (default 1, SINoise)
//   request-ui [type]          RequestUI (default "MicTraining")
//   other-context              RecognitionForOtherContext
//   audio-level <n>            AudioLevel (0..100)
//   wait-for-file <path>       hold the rest of the script until that file exists (a
//                              test's cue between two phrases)
//
// Text runs from after the blanks that follow the command to the end of the line, with
// trailing blanks removed; it may be empty.
#pragma once
#include <string>
#include <vector>

namespace speech_standin {

enum class ScriptCommand {
    Wait, Stream, StartStream, EndStream, SoundStart, SoundEnd, PhraseStart, Hypothesis,
    Recognition, FalseRecognition, Interference, RequestUI, OtherContext, AudioLevel, WaitForFile,
    CloseWindows  // not a script word: appended when SPEECH_STANDIN_EXIT_AFTER is 1
};

struct ScriptStep {
    ScriptCommand command = ScriptCommand::Wait;
    long value = 0;       // milliseconds, stream number, interference kind or audio level
    std::wstring text;    // phrase text, UI type or file path, UTF-16
    int line = 0;         // 1-based line in the script; 0 for steps made by the stand-in
};

struct ScriptError {
    int line = 0;
    std::string message;  // UTF-8
};

struct ParsedScript {
    std::vector<ScriptStep> steps;
    std::vector<ScriptError> errors;  // bad lines are reported here and left out of steps
};

ParsedScript parseScript(const std::string& utf8Text);

}  // namespace speech_standin
