# Strict warnings for our own targets (not for generated or outside code).
function(tq_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${TQ_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
            -Wnon-virtual-dtor -Wcast-align -Wformat=2 $<$<BOOL:${TQ_WERROR}>:-Werror>)
    endif()
endfunction()
