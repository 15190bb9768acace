# SPDX-License-Identifier: GPL-3.0-or-later
# plumora_add_fuzz_test(TARGET): adds the test TARGET, in which fuzz/run.sh builds the fuzz
# target TARGET with clang (apart from this build) and runs it for 20 seconds from the
# sample files mkfuzzseeds writes for it. The fuzz runs take turns, as
# each builds with both cores. Without clang the test reports itself skipped.
include_guard(GLOBAL)

find_program(PLUMORA_CLANGXX NAMES clang++ clang++-14)
if(NOT PLUMORA_CLANGXX)
    message(STATUS "clang++ not found: the fuzz tests will be skipped")
endif()

# A second argument names a test program whose writeSeedCorpus case writes the samples
# instead.
function(plumora_add_fuzz_test target)
    set(seeder $<TARGET_FILE:mkfuzzseeds>)
    if(ARGC GREATER 1)
        set(seeder $<TARGET_FILE:${ARGV1}>)
    endif()
    if(PLUMORA_CLANGXX)
        add_test(NAME ${target}
            COMMAND bash ${PROJECT_SOURCE_DIR}/fuzz/run.sh ${PROJECT_SOURCE_DIR}
                ${CMAKE_BINARY_DIR}/fuzz/${target} ${target} ${seeder} 20)
        set_tests_properties(${target} PROPERTIES
            ENVIRONMENT "FUZZ_CXX=${PLUMORA_CLANGXX}" TIMEOUT 900 SKIP_RETURN_CODE 77
            RESOURCE_LOCK plumora_fuzz LABELS fuzz)
    else()
        add_test(NAME ${target}
            COMMAND sh -c "echo 'clang++ not found (Debian: clang): fuzzing skipped'; exit 77")
        set_tests_properties(${target} PROPERTIES SKIP_RETURN_CODE 77 LABELS fuzz)
    endif()
endfunction()
