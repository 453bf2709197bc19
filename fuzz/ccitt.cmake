# The CCITT decoders on hostile data: no crash, no hang, and a well-formed run stream.
velmo_add_fuzzer(fuzz_group4_decoder SOURCES ${CMAKE_CURRENT_LIST_DIR}/ccitt/fuzz_group4_decoder.cpp LIBS velmo_lib velmo_core RUNS 500000)
velmo_add_fuzzer(fuzz_group3_decoder SOURCES ${CMAKE_CURRENT_LIST_DIR}/ccitt/fuzz_group3_decoder.cpp LIBS velmo_lib velmo_core RUNS 300000)
