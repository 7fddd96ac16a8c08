# The layering, enforced by the compiler: engine <- shell <- dialog <- back ends.
#
# Every layer has an include root of its own in the build tree: a folder of symbolic links that
# holds the layer's headers under their usual names ("engine/pad_engine.h"), and nothing else.
# A library publishes its root, and a layer sees the roots of the libraries it links, that is of
# the layers below it. An include that points upwards ("shell/..." from the engine) or into a back
# end ("platform/win32/..." from the core) finds no file and fails to compile. (Sources include
# by these root-relative paths only; a path that climbs out with "../" would not be caught.)
#
# The core's own sources also get padwire_core_rules: a folder that shadows the operating
# system's headers (windows.h and the other back ends' system headers) with files that stop the
# compilation, since the core reaches the outside world only through platform/*.h.
#
# tests/layering proves both: files that break a rule must fail to compile.
set(PADWIRE_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include-roots)

# padwire_include_root(<root> [DIRS <folder>...] [FILES <glob>...])
# Makes ${PADWIRE_INCLUDE_ROOTS}/<root> with a link for each source folder of DIRS and for each
# source file that a glob of FILES matches, all at their paths below the source root. The globs
# are checked again at build time, so a new header is linked without a manual reconfigure.
function(padwire_include_root root)
  cmake_parse_arguments(arg "" "" "DIRS;FILES" ${ARGN})
  set(paths ${arg_DIRS})
  foreach(pattern ${arg_FILES})
    file(GLOB matched CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${pattern})
    list(APPEND paths ${matched})
  endforeach()
  foreach(path ${paths})
    set(link ${PADWIRE_INCLUDE_ROOTS}/${root}/${path})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    # A link left by an earlier configure is replaced, never followed.
    if(IS_SYMLINK ${link})
      file(REMOVE ${link})
    endif()
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${link} SYMBOLIC)
  endforeach()
endfunction()

padwire_include_root(platform_api FILES platform/*.h)
padwire_include_root(platform_common DIRS platform/common)
padwire_include_root(engine DIRS engine)
padwire_include_root(shell DIRS shell)
padwire_include_root(dialog DIRS dialog)
padwire_include_root(sim DIRS platform/sim)
padwire_include_root(win32 DIRS platform/win32)
padwire_include_root(linux DIRS platform/linux)
padwire_include_root(qt DIRS platform/qt)
padwire_include_root(sdl DIRS platform/sdl)
padwire_include_root(fuzz DIRS fuzz)

# Headers of the operating systems and of the back ends' system libraries, each shadowed for
# the core by a file that ends the compilation with the rule it broke.
set(padwire_os_headers
  windows.h windef.h winbase.h winuser.h wingdi.h winreg.h winnt.h shellapi.h shlobj.h objbase.h
  commctrl.h dinput.h mmsystem.h wincodec.h winsock2.h
  X11/Xlib.h X11/extensions/XTest.h linux/uinput.h SDL2/SDL.h SDL.h)
set(padwire_no_os ${PADWIRE_INCLUDE_ROOTS}/no_os_headers)
foreach(header ${padwire_os_headers})
  file(CONFIGURE OUTPUT ${padwire_no_os}/${header}
       CONTENT "#error \"the core (engine, shell, dialog) includes no operating-system header: \
<${header}> belongs in a back end\"\n")
endforeach()

add_library(padwire_core_rules INTERFACE)
target_include_directories(padwire_core_rules BEFORE INTERFACE ${padwire_no_os})
