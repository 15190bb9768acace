# plumora_add_fuzz_test(NAME SEED_WRITER SEED_VARIABLE) adds the test NAME: fuzz/run.sh
# builds the fuzz target NAME with clang (apart from this build) and runs it for 20 seconds
# from the sample files that the test SEED_WRITER leaves in the folder named by the
# environment variable SEED_VARIABLE. Without clang the test reports itself skipped.
include_guard(GLOBAL)

find_program(PLUMORA_CLANGXX NAMES clang++ clang++-14)
if(NOT PLUMORA_CLANGXX)
    message(STATUS "clang++ not found: the readers' fuzz tests will be skipped")
endif()

function(plumora_add_fuzz_test name seeder seedvar)
    if(PLUMORA_CLANGXX)
        add_test(NAME ${name}
            COMMAND bash ${PROJECT_SOURCE_DIR}/fuzz/run.sh ${PROJECT_SOURCE_DIR}
                ${CMAKE_BINARY_DIR}/fuzz $<TARGET_FILE:${seeder}> 20 ${name} ${seedvar})
        # The targets share one clang build folder.
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "FUZZ_CXX=${PLUMORA_CLANGXX}" TIMEOUT 900 SKIP_RETURN_CODE 77
            RESOURCE_LOCK plumora_fuzz_build)
    else()
        add_test(NAME ${name}
            COMMAND sh -c "echo 'clang++ not found (Debian: clang): fuzzing skipped'; exit 77")
        set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
    endif()
endfunction()

# The icon reader's (tests/calendar includes this file).
plumora_add_fuzz_test(fuzz_iconfile tst_iconfile PLUMORA_ICON_SEEDS)
