# Every number of the program is an 80-bit x87 extended real: its reports, iteration counts and
# pixels depend on that precision. Refuse to build where long double is anything else, rather
# than build a program that computes other digits.
include(CheckCXXSourceCompiles)

check_cxx_source_compiles([=[
#include <cfloat>
static_assert(sizeof(long double) >= 10, "long double is narrower than 80 bits");
static_assert(LDBL_MANT_DIG == 64, "long double does not have a 64-bit significand");
static_assert(LDBL_MAX_EXP == 16384 && LDBL_MIN_EXP == -16381, "long double is not the x87 type");
int main() { return 0; }
]=] METOPT_LONG_DOUBLE_IS_X87)

if(NOT METOPT_LONG_DOUBLE_IS_X87)
  message(FATAL_ERROR
    "metopt needs long double to be the 80-bit x87 extended type (64-bit significand, "
    "exponent range of 16384), as GCC and Clang give it on x86 and x86-64. This compiler "
    "(${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION}) on ${CMAKE_SYSTEM_PROCESSOR} "
    "has another long double; the program would compute other results.")
endif()
