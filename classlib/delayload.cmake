# The printer spooler and the common dialogs are loaded when the library first calls them,
# not when a program starts: a program that never prints or opens a dialog does not pay
# for them (under Wine the spooler reads the system's printers when it is loaded).  The
# functions the library calls are listed in the .def files; anything else of those DLLs
# (tests, benchmarks) still comes from their ordinary import libraries, linked after.
find_program(MINGW_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool x86_64-w64-mingw32-dlltool REQUIRED)

function(add_delay_import target dll def)
  set(lib "${CMAKE_CURRENT_BINARY_DIR}/lib${target}.a")
  add_custom_command(OUTPUT "${lib}"
    COMMAND "${MINGW_DLLTOOL}" --input-def "${def}" --dllname "${dll}" --output-delaylib "${lib}"
    DEPENDS "${def}" VERBATIM)
  add_custom_target(${target}_build DEPENDS "${lib}")
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE "${lib}" delayimp)
  add_dependencies(${target} ${target}_build)
endfunction()

add_delay_import(winspool_delay winspool.drv "${CMAKE_CURRENT_SOURCE_DIR}/winspool_delay.def")
add_delay_import(comdlg32_delay comdlg32.dll "${CMAKE_CURRENT_SOURCE_DIR}/comdlg32_delay.def")
