# The Windows resource of a program: its version (product name, version, copyright, description)
# and, with ICON, the program icon that Explorer, the Start menu and "Apps & features" show.
#   termix_program_resource(TARGET DESCRIPTION [ICON])
# The icon is packed at build time from the committed artwork (resources/images, drawn by
# resources/artwork/DrawArtwork.cpp) with icotool: 16 to 64 px as bitmaps, which every reader of
# .ico files understands, 128 and 256 px as PNG, as Windows keeps its large sizes.
set(TERMIX_WINDOWS_ICON ${CMAKE_BINARY_DIR}/windows/termix.ico)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/windows)

function(termix_program_resource target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "ICON" "" "")
  set(name ${target})
  set(version ${PROJECT_VERSION}.0)
  string(REPLACE "." "," version_commas "${version}.0")
  set(icon_line "")
  if(arg_ICON)
    find_program(TERMIX_ICOTOOL icotool)
  endif()
  if(arg_ICON AND NOT TERMIX_ICOTOOL)
    message(WARNING "icotool (Debian: icoutils) is missing: ${target}.exe gets no icon")
  elseif(arg_ICON)
    set(images ${CMAKE_SOURCE_DIR}/resources/images)
    set(images_used)
    set(icotool_args)
    foreach(size 16 24 32 48 64 128 256)
      set(image ${images}/icon128-${size}.png)
      list(APPEND images_used ${image})
      if(size LESS 128)
        list(APPEND icotool_args ${image})
      else()
        list(APPEND icotool_args --raw=${image})
      endif()
    endforeach()
    add_custom_command(
      OUTPUT ${TERMIX_WINDOWS_ICON}
      COMMAND ${TERMIX_ICOTOOL} --create --output=${TERMIX_WINDOWS_ICON} ${icotool_args}
      DEPENDS ${images_used}
      COMMENT "Packing termix.ico from the artwork"
      VERBATIM)
    set(icon_line "1 ICON \"${TERMIX_WINDOWS_ICON}\"")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  if(icon_line)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${TERMIX_WINDOWS_ICON})
  endif()
endfunction()
