# Instrumentation for the libFuzzer targets under fuzz/. Every library is compiled with coverage
# feedback, AddressSanitizer and UndefinedBehaviorSanitizer; only the fuzz targets link the fuzzer's
# own main (-fsanitize=fuzzer, see fuzz/CMakeLists.txt). A compiler or runtime that cannot do this
# stops the configure step instead of producing targets that fuzz nothing.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VALDORA_FUZZ needs clang++ (libFuzzer), not ${CMAKE_CXX_COMPILER_ID}: "
                      "configure with the fuzz preset or -DCMAKE_CXX_COMPILER=clang++-16")
endif()

include(CheckCXXSourceCompiles)
# Failure locations are std::source_location, which libstdc++ offers only to clang 15 and later.
check_cxx_source_compiles([[
#include <source_location>
int main() { return static_cast<int>(std::source_location::current().line()) > 0 ? 0 : 1; }
]] VALDORA_HAVE_SOURCE_LOCATION)
if(NOT VALDORA_HAVE_SOURCE_LOCATION)
  message(FATAL_ERROR "${CMAKE_CXX_COMPILER} (clang ${CMAKE_CXX_COMPILER_VERSION}) has no std::source_location: "
                      "the fuzz preset needs clang 16 (Debian: clang-16), see scripts/install-deps.sh")
endif()
set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer,address,undefined")
set(CMAKE_REQUIRED_LINK_OPTIONS "-fsanitize=fuzzer,address,undefined")
check_cxx_source_compiles([[
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
]] VALDORA_HAVE_LIBFUZZER)
unset(CMAKE_REQUIRED_FLAGS)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
if(NOT VALDORA_HAVE_LIBFUZZER)
  message(FATAL_ERROR "clang++ cannot link a libFuzzer target: install the compiler-rt package of "
                      "this clang (Debian: libclang-rt-16-dev), or run scripts/install-deps.sh")
endif()

# No recovery from undefined behaviour: the fuzzer must stop at the first report, with its input.
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
