# The codec engine's scale, reduce and write-TIFF operations on small arbitrary images.
velmo_add_fuzzer(fuzz_codec_engine SOURCES ${CMAKE_CURRENT_LIST_DIR}/codec_engine_fuzzer.cpp LIBS velmo_codec RUNS 250000)
