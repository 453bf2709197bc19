velmo_add_fuzzer(fuzz_korvaconv_page
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/page_fuzzer.cpp ${PROJECT_SOURCE_DIR}/tools/korvaconv/PageCommand.cpp
  LIBS velmo_pipeline velmo_imagefile velmo_lib velmo_core RUNS 60000)
