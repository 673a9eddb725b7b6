# Build-time resources made by the host tools of the native build (see tools/).
if(NOT NATIVE_BUILD_DIR)
  message(FATAL_ERROR "The Windows build needs -DNATIVE_BUILD_DIR=<native build folder> for its host tools (scripts/common.sh passes it)")
endif()
set(HOST_RESGEN "${NATIVE_BUILD_DIR}/tools/resgen/resgen")
set(GENERATED_RES_DIR "${CMAKE_BINARY_DIR}/res")
file(MAKE_DIRECTORY "${GENERATED_RES_DIR}")
set(GENERATED_RES_FILES
  "${GENERATED_RES_DIR}/track.bmp" "${GENERATED_RES_DIR}/trackvert.bmp" "${GENERATED_RES_DIR}/lacquermenu.bmp"
  "${GENERATED_RES_DIR}/quillet.ico" "${GENERATED_RES_DIR}/scrivet.ico" "${GENERATED_RES_DIR}/parlet.ico"
  "${GENERATED_RES_DIR}/bstart.bmp" "${GENERATED_RES_DIR}/bstop.bmp" "${GENERATED_RES_DIR}/bdict.bmp" "${GENERATED_RES_DIR}/binfo.bmp")
add_custom_command(OUTPUT ${GENERATED_RES_FILES}
  COMMAND "${HOST_RESGEN}" "${GENERATED_RES_DIR}"
  DEPENDS "${HOST_RESGEN}"
  COMMENT "Drawing program icons and skin bitmaps")
add_custom_target(generated_resources DEPENDS ${GENERATED_RES_FILES})

# add_program(<name> <rc file> <sources...>): a GUI program whose resource script can
# include the generated pictures and the shared skin bitmaps.
function(add_program name rc)
  add_executable(${name} WIN32 ${rc} ${ARGN})
  add_dependencies(${name} generated_resources default_skin_stream)
  target_include_directories(${name} PRIVATE "${GENERATED_RES_DIR}" "${PROJECT_SOURCE_DIR}/skin" "${PROJECT_SOURCE_DIR}/notepad" "${CMAKE_CURRENT_SOURCE_DIR}")
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${GENERATED_RES_FILES} "${DEFAULT_SKIN_STREAM}"
               "${PROJECT_SOURCE_DIR}/notepad/program.manifest")
  split_debug_info(${name})
endfunction()

# split_debug_info(<target>): the debug information of a program or library goes beside
# it, in <name>.debug found through a debug link, instead of into its image: the loader
# then brings in about 3 MB at every start instead of about 60 MB (Wine reads the sections
# into memory, which on a busy machine took a second and more; the recognizer's 3 MB of
# it cost every dictation program 15-25 ms of its start).
function(split_debug_info name)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND "${CMAKE_OBJCOPY}" --only-keep-debug "$<TARGET_FILE:${name}>" "$<TARGET_FILE_DIR:${name}>/${name}.debug"
    COMMAND "${CMAKE_OBJCOPY}" --strip-debug "--add-gnu-debuglink=$<TARGET_FILE_DIR:${name}>/${name}.debug"
            "$<TARGET_FILE:${name}>"
    VERBATIM)
endfunction()
include("${CMAKE_CURRENT_LIST_DIR}/skins.cmake")
