# Every tests/**/tst_*.cpp is one Qt Test executable, registered with ctest.
# Label: "integration" under tests/integration, "ui" when it uses QTEST_MAIN, otherwise "unit".
# Helpers shared by tests live in tests/support and are linked into every test.
function(orbalia_add_all_tests dir)
  file(GLOB SUPPORT_SOURCES CONFIGURE_DEPENDS ${dir}/support/*.cpp ${dir}/support/*.h)
  list(FILTER SUPPORT_SOURCES EXCLUDE REGEX ".*/TestServers\\.(cpp|h)$")
  add_library(orbalia_testsupport STATIC ${SUPPORT_SOURCES})
  target_link_libraries(orbalia_testsupport PUBLIC orbalia_install orbalia_testservers Qt6::Test)
  target_include_directories(orbalia_testsupport PUBLIC ${dir}/support)
  target_compile_definitions(orbalia_testsupport PUBLIC
    ORBALIA_BINARY_DIR="${CMAKE_BINARY_DIR}" ORBALIA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ORBALIA_SQLITE_EXTENSION="$<TARGET_FILE:orbalia_sqlite>")

  # The program as the tests that kill it need it: its start-up alone, and a
  # loop of confirms with photographs.
  add_executable(orbalia-prueba-hijo ${dir}/integration/hijo.cpp)
  target_link_libraries(orbalia-prueba-hijo PRIVATE orbalia_testsupport)

  file(GLOB_RECURSE TESTS CONFIGURE_DEPENDS ${dir}/tst_*.cpp)
  foreach(src IN LISTS TESTS)
    orbalia_add_test(${src})
  endforeach()
endfunction()

function(orbalia_add_test src)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE orbalia_testsupport)
  add_dependencies(${name} orbalia orbalia-updatedb orbalia-install orbalia_sqlite orbalia-webexport
                   orbalia-portales orbalia-exchange orbalia-backup orbalia-prueba-hijo)
  file(READ ${src} content)
  if(src MATCHES "/integration/")
    set(label integration)
  elseif(content MATCHES "QTEST_MAIN")
    set(label ui)
  else()
    set(label unit)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ${label} TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;ORBALIA_BIN_DIR=${CMAKE_BINARY_DIR}")
  # Tests sharing the exchange daemon's modules or the web tables run one at a time.
  set(locks)
  if(content MATCHES "ORB_REQUIRE_RSYNC")
    list(APPEND locks servidor_rsync)
  endif()
  if(content MATCHES "WebExportFixture")
    list(APPEND locks tablas_web)
  endif()
  if(locks)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${locks}")
  endif()
  # A suite that proves both engines runs a second time on the test cluster.
  if(content MATCHES "ORB_MOTOR_DISPONIBLE")
    add_test(NAME ${name}_servidor COMMAND ${name})
    set_tests_properties(${name}_servidor PROPERTIES LABELS ${label} TIMEOUT 300
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;ORBALIA_BIN_DIR=${CMAKE_BINARY_DIR};ORBALIA_MOTOR=servidor")
    # It shares the same daemon's modules and web tables as the file's run.
    if(locks)
      set_tests_properties(${name}_servidor PROPERTIES RESOURCE_LOCK "${locks}")
    endif()
  endif()
endfunction()
