/* Test control of the stand-in speech recognizer, exported from speech_standin.dll as plain
 * C functions.  A test loads the same DLL the COM runtime loads (LoadLibrary of the
 * registered path, or of build/standins/speech_standin.dll) and looks them up with
 * GetProcAddress; the *_fn typedefs below are their types.  Everything acts on the calling
 * process only.
 *
 * Events are never delivered from inside these functions: queued steps are played through
 * the message loop of the thread that created each context, one event per message.
 * Scripts use the format documented in standins/speech/README.md.
 */
#ifndef SPEECH_STANDIN_CONTROL_H
#define SPEECH_STANDIN_CONTROL_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Parses a script (UTF-8 text) and appends its steps to the queue of every live context.
 * Bad lines are logged ("ScriptError <line>: <reason>") and skipped.  Returns the number of
 * contexts that got the steps, or -1 when utf8Script is NULL. */
int SpeechStandin_PlayScript(const char* utf8Script);
typedef int (*SpeechStandin_PlayScript_fn)(const char* utf8Script);

/* Queues one script line (for example "recognition 你好" in UTF-8) on every live context.
 * Returns the number of contexts, or -1 when the line is bad, blank or a comment. */
int SpeechStandin_FireEvent(const char* utf8Line);
typedef int (*SpeechStandin_FireEvent_fn)(const char* utf8Line);

/* Sets the mode as SPEECH_STANDIN_MODE would ("normal" or "", "absent", "fail-interests",
 * "fail-grammar", "fail-dictation"); it wins over the environment and applies to live
 * contexts at once.  NULL goes back to the environment.  Returns 0, or -1 for an unknown
 * mode (nothing changes). */
int SpeechStandin_SetMode(const char* mode);
typedef int (*SpeechStandin_SetMode_fn)(const char* mode);

/* Sets the comma-separated UI types IsUISupported answers false for, as
 * SPEECH_STANDIN_UNSUPPORTED would.  NULL goes back to the environment. */
void SpeechStandin_SetUnsupported(const char* commaList);
typedef void (*SpeechStandin_SetUnsupported_fn)(const char* commaList);

/* Copies the call log (UTF-8, one line per call, each ended by '\n') into buffer, cut to
 * size - 1 bytes and NUL-terminated when size > 0.  Returns the full length in bytes
 * without the NUL, so a call with size 0 asks for the length. */
size_t SpeechStandin_ReadLog(char* buffer, size_t size);
typedef size_t (*SpeechStandin_ReadLog_fn)(char* buffer, size_t size);

/* Empties the in-memory call log (the SPEECH_STANDIN_LOG file is left alone). */
void SpeechStandin_ClearLog(void);
typedef void (*SpeechStandin_ClearLog_fn)(void);

/* Steps still queued on all live contexts (a step being delivered, or a running wait, no
 * longer counts). */
int SpeechStandin_PendingEvents(void);
typedef int (*SpeechStandin_PendingEvents_fn)(void);

/* Number of live contexts in this process. */
int SpeechStandin_LiveContexts(void);
typedef int (*SpeechStandin_LiveContexts_fn)(void);

/* Back to a fresh state: overrides cleared, log emptied, every queue emptied and resumed,
 * the remembered DisplayUI parent forgotten. */
void SpeechStandin_Reset(void);
typedef void (*SpeechStandin_Reset_fn)(void);

#ifdef __cplusplus
}
#endif

#endif
