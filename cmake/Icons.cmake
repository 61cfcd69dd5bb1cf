# The program's icons, drawn at build time from the pixel art in Src/icons with ImageMagick and
# icoutils' icotool. The art is enlarged pixel for pixel (the point filter: each pixel takes the art
# pixel under its centre), never smoothed, so it stays crisp at every size. The 16-pixel art is
# drawn for its size; every larger size grows from the 32-pixel art.
#
#   vostrel_icon_png(<file> <size> [MASKABLE])   a square PNG of <size> pixels
#   vostrel_icon_ico(<file>)                      a Windows icon file
#
# Each adds the command that makes <file>; the caller makes a target that depends on it. Every
# icon drawn is listed in the global property VOSTREL_ICONS as <file>|<size>|<png, maskable or ico>
# for the icons' test.
include_guard(GLOBAL)

set(VOSTREL_ART_DIR "${CMAKE_CURRENT_LIST_DIR}/../Src/icons")
cmake_path(NORMAL_PATH VOSTREL_ART_DIR)

# "convert" is also the name of Windows' own file-system tool: only ImageMagick will do. Build
# machine programs, whatever the target's root.
function(vostrel_is_imagemagick result candidate)
  execute_process(COMMAND "${candidate}" -version OUTPUT_VARIABLE version ERROR_QUIET
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT version MATCHES "ImageMagick")
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()
find_program(VOSTREL_MAGICK NAMES magick convert VALIDATOR vostrel_is_imagemagick
  NO_CMAKE_FIND_ROOT_PATH)
find_program(VOSTREL_ICOTOOL icotool NO_CMAKE_FIND_ROOT_PATH)
if(NOT VOSTREL_MAGICK)
  message(FATAL_ERROR "The icons are drawn with ImageMagick, and neither its magick nor its "
    "convert was found. On Debian: apt install imagemagick (bash tools/deps.sh installs it).")
endif()
if(NOT VOSTREL_ICOTOOL)
  message(FATAL_ERROR "The Windows icon is made with icoutils' icotool, which was not found. On "
    "Debian: apt install icoutils (bash tools/deps.sh installs it).")
endif()

function(vostrel_icon_png file size)
  cmake_parse_arguments(ARG "MASKABLE" "" "" ${ARGN})
  set(art_side 32)
  if(size LESS 32)
    set(art_side 16)
  endif()
  set(art "${VOSTREL_ART_DIR}/vostrel${art_side}.xpm")
  if(ARG_MASKABLE)
    # A maskable icon may be cut down to a circle of 80 % of its side: the art fits inside it,
    # a square of at most 0.4 * sqrt(2) = 0.5657 of the side, enlarged a whole number of times so
    # that every art pixel is as wide. Around it, the art's own ground (inside the frame's
    # corner) fills the icon.
    math(EXPR inner "${size} * 5657 / 10000 / ${art_side} * ${art_side}")
    set(draw -set background "%[pixel:p{1,1}]" -filter point -resize ${inner}x${inner}
      -gravity center -extent ${size}x${size})
    set(kind maskable)
  else()
    set(draw -filter point -resize ${size}x${size})
    set(kind png)
  endif()
  get_filename_component(folder "${file}" DIRECTORY)
  # 8-bit RGBA, the form Windows requires of a PNG inside an icon; no time or other metadata, so
  # every build gives the same bytes.
  add_custom_command(OUTPUT "${file}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${folder}"
    COMMAND "${VOSTREL_MAGICK}" "${art}" ${draw} -strip "PNG32:${file}"
    DEPENDS "${art}" "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY VOSTREL_ICONS "${file}|${size}|${kind}")
endfunction()

# Windows draws small icons best from plain bitmaps, 16 to 48 pixels; from Vista on it reads the
# large one, 256 pixels, as PNG.
function(vostrel_icon_ico file)
  get_filename_component(name "${file}" NAME_WLE)
  set(parts "${CMAKE_CURRENT_BINARY_DIR}/${name}-ico")
  foreach(size 16 32 48 256)
    vostrel_icon_png("${parts}/${size}.png" ${size})
  endforeach()
  get_filename_component(folder "${file}" DIRECTORY)
  add_custom_command(OUTPUT "${file}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${folder}"
    COMMAND "${VOSTREL_ICOTOOL}" --create "--output=${file}" --bit-depth=32 "${parts}/16.png"
            "${parts}/32.png" "${parts}/48.png" "--raw=${parts}/256.png"
    DEPENDS "${parts}/16.png" "${parts}/32.png" "${parts}/48.png" "${parts}/256.png"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY VOSTREL_ICONS "${file}|0|ico")
endfunction()
