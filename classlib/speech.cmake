# The speech recognizer client core (SpeechRecoContext.h) that the shared recognition
# context component builds on.  Included from classlib/CMakeLists.txt.
include("${CMAKE_CURRENT_LIST_DIR}/ole.cmake")
add_library(speech_client STATIC "${CMAKE_CURRENT_LIST_DIR}/SpeechRecoContext.cpp")
target_include_directories(speech_client PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
target_link_libraries(speech_client PUBLIC ole_client sapi ole32 oleaut32 uuid)
