# cmake -DSRC=src-dir -P check_layers.cmake
# The layers of src/ only point down. The portable core (core/) sees nothing
# but itself and the platform seam: no window system, no Direct3D, no
# OpenGL, no program's code, and it never ends the process. The OpenGL
# drawing (gl/) sees the core and OpenGL alone, and only what OpenGL ES 2.0
# and WebGL have too: no fixed-function state. The programs (windows/,
# linux/, wayland/, web/) use what is below them and never each other, but for
# the Wayland program's use of the hack's options, signals and sprite (both
# are Linux programs, the hack never the other way); inside the Windows
# saver the host sits over render, settings and diag, and render over diag.
set(violations "")

# check(<globs> <what> <regex>...): every line of those files that matches.
function(check globs what)
    set(found "")
    foreach(glob IN LISTS globs)
        file(GLOB_RECURSE files ${SRC}/${glob})
        foreach(file IN LISTS files)
            # One list entry a line: the code's semicolons would split a line
            # and its square brackets would join lines.
            file(READ ${file} content)
            string(REGEX REPLACE "[][;]" "_" content "${content}")
            string(REPLACE "\n" ";" lines "${content}")
            foreach(line IN LISTS lines)
                foreach(pattern IN LISTS ARGN)
                    if(line MATCHES "${pattern}")
                        file(RELATIVE_PATH relative ${SRC} ${file})
                        list(APPEND found "${relative}: ${line}")
                    endif()
                endforeach()
            endforeach()
        endforeach()
    endforeach()
    foreach(entry IN LISTS found)
        message(SEND_ERROR "${what}: ${entry}")
    endforeach()
endfunction()

check("core/*" "the core includes a window-system, graphics or program header"
      "#include <(windows|d3d9|GL/|GLES2/|X11/|emscripten)"
      "#include \"(windows|linux|gl|web|wayland)/")
check("core/*" "the core ends the process" "[^a-zA-Z_]exit[ ]*\\(" "abort[ ]*\\("
      "std::terminate")
check("gl/*" "the GL drawing reaches into a platform" "#include \"(windows|linux|web|wayland)/"
      "#include <(windows|d3d9|X11/|GL/glx|emscripten)")
check("gl/*" "the GL drawing uses fixed-function state" "glMatrixMode" "glLoad(Matrix|Identity)"
      "glTexEnv" "gl(Enable|Disable)ClientState" "gl(Vertex|Color|TexCoord)Pointer" "glBegin"
      "glRasterPos" "glBitmap" "glCallList" "GL_TEXTURE_ENV")
check("platform/*" "the platform seam reaches up" "#include \"(core|windows|linux|gl|web)/")
check("windows/*" "the Windows saver reaches into another platform" "#include \"(linux|gl|web)/")
check("core/*;gl/*;windows/*" "portable or Windows code reaches into the browser's" "#include \"web/")
check("linux/*" "the Linux hack reaches into another platform" "#include \"(windows|web|wayland)/")
check("web/*" "the browser's page reaches into another platform" "#include \"(windows|linux|wayland)/")
check("wayland/*" "the Wayland program reaches into another platform" "#include \"(windows|web)/"
      "#include \"linux/(x_target|hack_main)")
check("windows/render/*" "render reaches up into the host" "#include \"windows/host/")
check("windows/diag/*" "diag reaches up" "#include \"windows/(host|render|settings)/")
check("windows/settings/*" "settings reach up" "#include \"windows/(host|render)/")
check("core/wind/*" "wind reaches up into the flakes" "#include \"core/(flakes|view)/")
check("core/math/*" "math reaches up" "#include \"core/(wind|flakes|clock|view|settings)/")
check("core/flakes/*" "flakes reach up" "#include \"core/view/")
