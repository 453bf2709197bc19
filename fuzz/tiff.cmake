velmo_add_fuzzer(fuzz_tiff_bundler SOURCES ${CMAKE_CURRENT_LIST_DIR}/tiff_bundler_fuzzer.cpp LIBS velmo_lib velmo_core RUNS 350000)
velmo_add_fuzzer(fuzz_page_list SOURCES ${CMAKE_CURRENT_LIST_DIR}/page_list_fuzzer.cpp LIBS velmo_lib velmo_core RUNS 200000)
velmo_add_fuzzer(fuzz_tiff_append SOURCES ${CMAKE_CURRENT_LIST_DIR}/tiff_append_fuzzer.cpp LIBS velmo_lib velmo_core)
