# What every target of ours compiles with: the compiler's warnings, as errors where BRISEL_WERROR
# asks (the ci preset), and no implicit conversion between QString and char*, so that every text
# says which encoding it is in.
add_library(brisel_warnings INTERFACE)
if(MSVC)
    target_compile_options(brisel_warnings INTERFACE /W4 /permissive- /utf-8 $<$<BOOL:${BRISEL_WERROR}>:/WX>)
else()
    target_compile_options(brisel_warnings INTERFACE -Wall -Wextra -Wpedantic
        $<$<BOOL:${BRISEL_WERROR}>:-Werror>)
endif()
target_compile_definitions(brisel_warnings INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
