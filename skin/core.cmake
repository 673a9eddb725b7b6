# Pure skin logic, no Win32: builds in both builds.  The container, its LZHUF decoder, the
# definition text reader, and the writer and encoder that the tools and tests use.
set(SKIN_CORE_SOURCES
  "${CMAKE_CURRENT_LIST_DIR}/Lzhuf.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/LzhufEncoder.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinContainer.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinContainerWriter.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/QuickIni.cpp")
add_library(skin_core STATIC ${SKIN_CORE_SOURCES})
target_include_directories(skin_core PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
