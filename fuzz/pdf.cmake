velmo_add_fuzzer(fuzz_tiff_to_pdf SOURCES ${CMAKE_CURRENT_LIST_DIR}/tiff_to_pdf_fuzzer.cpp LIBS velmo_lib velmo_core RUNS 150000)
