# The text conversions (Texts.h) and the automation client core (ComObj.h): failed results
# as exceptions, reaching a server's object, late-bound calls.  Included from speech.cmake;
# standing alone so that tests of the stand-in servers can link it without the rest of
# the class library.
if(NOT TARGET classlib_texts)
  add_library(classlib_texts STATIC "${CMAKE_CURRENT_LIST_DIR}/Texts.cpp")
  target_include_directories(classlib_texts PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
endif()
if(NOT TARGET ole_client)
  add_library(ole_client STATIC "${CMAKE_CURRENT_LIST_DIR}/ComObj.cpp")
  target_include_directories(ole_client PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
  target_link_libraries(ole_client PUBLIC classlib_texts ole32 oleaut32 uuid)
endif()
