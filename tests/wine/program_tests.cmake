# The program's own Windows-side tests (the harness's are registered above).

set(program_sources ${CMAKE_SOURCE_DIR})

vantisk_wine_test(NAME monitor SOURCES monitor_test.cpp
  SUITES Startup ClipboardMirror UrlCheck MonitorPosition)
vantisk_wine_test(NAME hotkeys SOURCES hotkeys_test.cpp SUITES Hotkeys)
vantisk_wine_test(NAME hotkey_proc SOURCES hotkey_proc_test.cpp ${program_sources}/hotkeys/sub_class.cpp)
vantisk_wine_test(NAME clipboard_watch SOURCES clipboard_watch_test.cpp LIBS vantisk_toolkit)
vantisk_wine_test(NAME checker_list SOURCES checker_list_test.cpp SUITES CheckerList)
vantisk_wine_test(NAME checkers SOURCES checkers_test.cpp LIBS vantisk_logic SUITES Checkers PrivateLink)
# The message box that asks where the system has no task dialogs, in process.
vantisk_wine_test(NAME task_dialog SOURCES task_dialog_test.cpp LIBS vantisk_toolkit SUITES MessageBoxQuestion)
vantisk_wine_test(NAME real_address SOURCES real_address_test.cpp SUITES RealAddress)

# A window the system refuses at start-up: a hook in this DLL refuses it.
add_library(window_refuser SHARED window_refuser_dll.cpp)
set_target_properties(window_refuser PROPERTIES PREFIX "")
target_link_libraries(window_refuser PRIVATE vantisk_warnings user32)
vantisk_wine_test(NAME startup_failure SOURCES startup_failure_test.cpp SUITES StartupFailure)
target_compile_definitions(wine_startup_failure_test PRIVATE WINDOW_REFUSER_DLL_UNIX="$<TARGET_FILE:window_refuser>")
add_dependencies(wine_startup_failure_test window_refuser)
vantisk_wine_test(NAME autostart SOURCES autostart_test.cpp ${program_sources}/settings/autostart.cpp
  ${program_sources}/toolkit/wide.cpp
  SUITES AutostartSwitch AutostartRoutines)
vantisk_wine_test(NAME about SOURCES about_test.cpp LIBS vantisk_logic SUITES AboutWindow)
vantisk_wine_test(NAME tray SOURCES tray_test.cpp SUITES TrayMenu)

foreach(target wine_task_dialog_test wine_monitor_test wine_hotkeys_test wine_hotkey_proc_test wine_checker_list_test wine_checkers_test
               wine_real_address_test wine_startup_failure_test
               wine_autostart_test wine_about_test wine_tray_test)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endforeach()

vantisk_wine_test(NAME single_instance SOURCES single_instance_test.cpp SUITES SingleInstance)
target_include_directories(wine_single_instance_test PRIVATE ${CMAKE_SOURCE_DIR})

vantisk_wine_test(NAME dpi SOURCES dpi_test.cpp SUITES At96Dpi At144Dpi)
set_property(TEST wine.dpi.At96Dpi APPEND PROPERTY ENVIRONMENT VANTISK_WINE_LOGPIXELS=96)
set_property(TEST wine.dpi.At144Dpi APPEND PROPERTY ENVIRONMENT VANTISK_WINE_LOGPIXELS=144)
target_include_directories(wine_dpi_test PRIVATE ${CMAKE_SOURCE_DIR})

# Hostile and odd input, faults and load (docs/hostile-input.md).
vantisk_wine_test(NAME hostile_clipboard SOURCES hostile_clipboard_test.cpp
  SUITES HugeText OddText BusyClipboard UnsafeAddress)
vantisk_wine_test(NAME hostile_settings SOURCES hostile_settings_test.cpp SUITES HandEdited KeyDeleted)
vantisk_wine_test(NAME hostile_faults SOURCES hostile_faults_test.cpp SUITES TakenHotkey NoBrowser LockedRunKey UnremovableRunValue)
vantisk_wine_test(NAME hostile_load SOURCES hostile_load_test.cpp SUITES Load)
foreach(target wine_hostile_clipboard_test wine_hostile_settings_test wine_hostile_faults_test
               wine_hostile_load_test)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endforeach()

# The address pipeline with the system's URL, international-name and script functions, in process.

# A DLL planted beside the exe never runs inside it: the stand-in DLL, and the
# control program that shows each planted copy would run when loaded by name.
add_library(planted_dll SHARED planted_dll.cpp)
set_target_properties(planted_dll PROPERTIES PREFIX "")
target_include_directories(planted_dll PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(planted_dll PRIVATE vantisk_warnings)
add_executable(planted_dll_loader WIN32 planted_dll_loader.cpp)
target_link_libraries(planted_dll_loader PRIVATE vantisk_warnings)
vantisk_wine_test(NAME planted_dll SOURCES planted_dll_test.cpp SUITES PlantedDlls)
target_include_directories(wine_planted_dll_test PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(wine_planted_dll_test PRIVATE
  PLANTED_DLL_UNIX="$<TARGET_FILE:planted_dll>" PLANTED_DLL_LOADER_UNIX="$<TARGET_FILE:planted_dll_loader>")
add_dependencies(wine_planted_dll_test planted_dll planted_dll_loader)

# A copy of the program without the UTF-8 code page in its manifest runs with code page 1252.
vantisk_wine_test(NAME code_page SOURCES code_page_test.cpp SUITES CodePage1252)
target_include_directories(wine_code_page_test PRIVATE ${CMAKE_SOURCE_DIR})
