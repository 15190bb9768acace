# Adds the test fuzz_iconfile: fuzz/run.sh builds the icon reader's fuzz target with clang
# (apart from this build) and runs it for 20 seconds from tst_iconfile's sample files.
# Without clang the test reports itself skipped.
find_program(PLUMORA_CLANGXX NAMES clang++ clang++-14)
if(PLUMORA_CLANGXX)
    add_test(NAME fuzz_iconfile
        COMMAND bash ${PROJECT_SOURCE_DIR}/fuzz/run.sh ${PROJECT_SOURCE_DIR}
            ${CMAKE_BINARY_DIR}/fuzz $<TARGET_FILE:tst_iconfile> 20)
    set_tests_properties(fuzz_iconfile PROPERTIES
        ENVIRONMENT "FUZZ_CXX=${PLUMORA_CLANGXX}" TIMEOUT 900 SKIP_RETURN_CODE 77 LABELS fuzz)
else()
    message(STATUS "clang++ not found: the icon reader's fuzz test will be skipped")
    add_test(NAME fuzz_iconfile
        COMMAND sh -c "echo 'clang++ not found (Debian: clang): fuzzing skipped'; exit 77")
    set_tests_properties(fuzz_iconfile PROPERTIES SKIP_RETURN_CODE 77 LABELS fuzz)
endif()
