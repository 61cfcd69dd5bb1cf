# Every icon the build draws (cmake/Icons.cmake), as a desktop shows it: of its size, the art
# enlarged pixel for pixel, with no colour the art lacks (smoothing would blend them); a maskable
# one with the whole art inside the circle a mask may cut it to, on the art's grey ground; a
# Windows icon with the sizes Windows picks from, each of them the art.
# cmake -DMAGICK=<magick or convert> -DICOTOOL=<icotool> -DART=<folder> -DICONS=<list file>
#       -DWORK=<folder> -P icons.cmake, the list file holding a line <file>|<size>|<kind> per icon

function(look file format result)
  execute_process(COMMAND "${MAGICK}" "${file}" ${ARGN} -format "${format}" info:
    OUTPUT_VARIABLE out RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${file}: cannot be read")
  endif()
  set(${result} "${out}" PARENT_SCOPE)
endfunction()

# The art a picture shows: the 16-pixel art at 16 pixels, the 32-pixel art above.
function(check_art file size box)
  if(size LESS 32)
    set(art "${ART}/vostrel16.xpm")
    set(art_side 16)
  else()
    set(art "${ART}/vostrel32.xpm")
    set(art_side 32)
  endif()
  look("${art}" "%k" art_colours)
  look("${file}" "%k" colours)
  if(NOT colours EQUAL art_colours)
    message(SEND_ERROR "${file}: ${colours} colours where the art has ${art_colours}")
  endif()
  # The centre of every art pixel's cell must show that pixel.
  look("${file}" "%[distortion]" differing -crop "${box}" +repage -sample ${art_side}x${art_side}
    "${art}" -metric AE -compare)
  if(NOT differing EQUAL 0)
    message(SEND_ERROR "${file}: ${differing} pixels differ from the art")
  endif()
endfunction()

# Of the size it is asked for, and of the size its name gives (hicolor/48x48/, vostrel-192.png).
function(check_png file size)
  look("${file}" "%wx%h" actual)
  string(REGEX MATCH "/([0-9]+)x[0-9]+/|[/-]([0-9]+)\\.png$" named "${file}")
  if(NOT actual STREQUAL "${size}x${size}" OR
     (named AND NOT size EQUAL "${CMAKE_MATCH_1}${CMAKE_MATCH_2}"))
    message(SEND_ERROR "${file}: ${actual} pixels, not ${size}x${size}")
  endif()
  check_art("${file}" ${size} "${size}x${size}+0+0")
endfunction()

# The mask's circle is 80 % of the side across; the art keeps to it but fills at least half the
# side.
function(check_maskable file size)
  look("${file}" "%wx%h %[hex:p{0,0}] %@" actual)
  separate_arguments(actual)
  list(GET actual 0 extent)
  list(GET actual 1 corner)
  list(GET actual 2 box)
  string(REGEX MATCH "-([0-9]+)\\.png$" named "${file}")
  if(NOT extent STREQUAL "${size}x${size}" OR (named AND NOT size EQUAL "${CMAKE_MATCH_1}") OR
     NOT corner MATCHES "^C0C0C0")
    message(SEND_ERROR "${file}: ${extent} pixels with ${corner} in the corner, not "
      "${size}x${size} on the art's grey")
  endif()
  string(REGEX MATCH "^([0-9]+)x([0-9]+)\\+([0-9]+)\\+([0-9]+)$" _ "${box}")
  set(side ${CMAKE_MATCH_1})
  math(EXPR margin "(${size} - ${side}) / 2")
  math(EXPR diagonal_squared "2 * ${side} * ${side}")
  math(EXPR circle_squared "${size} * ${size} * 16 / 25")
  math(EXPR half "${size} / 2")
  if(NOT CMAKE_MATCH_2 EQUAL side OR NOT CMAKE_MATCH_3 EQUAL margin OR
     NOT CMAKE_MATCH_4 EQUAL margin OR diagonal_squared GREATER circle_squared OR side LESS half)
    message(SEND_ERROR "${file}: the art at ${box}, not a centred square inside the circle")
  endif()
  check_art("${file}" ${size} "${box}")
endfunction()

function(check_ico file)
  execute_process(COMMAND "${ICOTOOL}" --list "${file}" OUTPUT_VARIABLE list)
  string(REGEX MATCHALL "--width=[0-9]+" widths "${list}")
  list(TRANSFORM widths REPLACE "--width=" "")
  if(NOT widths STREQUAL "16;32;48;256")
    message(SEND_ERROR "${file}: sizes ${widths}, not 16, 32, 48 and 256")
  endif()
  file(REMOVE_RECURSE "${WORK}/ico")
  execute_process(COMMAND "${ICOTOOL}" --extract "--output=${WORK}/ico" "${file}")
  file(GLOB images "${WORK}/ico/*.png")
  foreach(image IN LISTS images)
    string(REGEX MATCH "_([0-9]+)x[0-9]+x[0-9]+\\.png$" _ "${image}")
    check_png("${image}" ${CMAKE_MATCH_1})
  endforeach()
endfunction()

file(MAKE_DIRECTORY "${WORK}")
file(STRINGS "${ICONS}" icons)
foreach(icon IN LISTS icons)
  string(REPLACE "|" ";" icon "${icon}")
  list(GET icon 0 file)
  list(GET icon 1 size)
  list(GET icon 2 kind)
  cmake_language(CALL check_${kind} "${file}" ${size})
endforeach()
list(LENGTH icons count)
message(STATUS "${count} icons looked at")
