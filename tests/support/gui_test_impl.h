// Private to the harness: state shared between its source files.
#pragma once

#include "gui_test.h"

namespace guitest {
namespace impl {

// How deep this thread is inside guitest::DefProc; the recorder flags messages that
// arrive meanwhile as default processing.
int& DefProcDepth();

}  // namespace impl
}  // namespace guitest
