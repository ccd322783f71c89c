# Warnings on and clean, for GCC/Clang and MSVC alike.
function(orvia_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8 /permissive-)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
            # Designated initialisers leave defaulted members out on purpose.
            -Wno-missing-field-initializers)
        if(ORVIA_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()

# Address and undefined-behaviour sanitizers for native builds.
function(orvia_sanitize target)
    if(ORVIA_SANITIZE AND NOT MSVC)
        target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=all)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()
