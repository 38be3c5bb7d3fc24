# The program's own Windows-side tests (the harness's are registered above).

set(program_sources ${CMAKE_SOURCE_DIR})

vantisk_wine_test(NAME monitor SOURCES monitor_test.cpp
  SUITES Startup ClipboardMirror UrlCheck MonitorPosition)
foreach(target wine_monitor_test)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endforeach()
