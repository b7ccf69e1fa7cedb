# Embeds the pictures, shapes and voice clips in the stage library, beside the asset
# catalogue. The clips are stored uncompressed so that their bytes can be played in place
# for the program's lifetime.
set(hourling_images
  Stage Face1 Face2 Face3 ProgramIcon MainIcon
  Mojiban MojibanMask MojibanDigi MojibanDigiMask
  DigiNumber DigiNumberMask DigiNumSmall DigiNumSmallMask AmPm AmPmMask)
# The same pictures for HiDPI screens at twice the size, by Qt's name@2x convention, and the
# soft edge outside the window's shape (RGBA, for a window with alpha under a compositor).
set(hourling_images_2x
  Stage Face1 Face2 Face3
  Mojiban MojibanMask MojibanDigi MojibanDigiMask
  DigiNumber DigiNumberMask DigiNumSmall DigiNumSmallMask AmPm AmPmMask StageEdge)
list(TRANSFORM hourling_images_2x APPEND @2x)
list(APPEND hourling_images ${hourling_images_2x} StageEdge)
list(TRANSFORM hourling_images PREPEND ${CMAKE_CURRENT_LIST_DIR}/images/)
list(TRANSFORM hourling_images APPEND .png)
set(hourling_regions 1 2 1@2x 2@2x)
list(TRANSFORM hourling_regions PREPEND ${CMAKE_CURRENT_LIST_DIR}/regions/)
list(TRANSFORM hourling_regions APPEND .rgn)

# Every clip the voice folder holds, so that a new clip needs no list here.
file(GLOB hourling_clips CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/voice/*.wav)

qt_add_resources(hourling_stage "hourling_pictures"
  PREFIX "/"
  BASE ${CMAKE_CURRENT_LIST_DIR}
  FILES ${hourling_images} ${hourling_regions})
qt_add_resources(hourling_stage "hourling_voice"
  PREFIX "/"
  BASE ${CMAKE_CURRENT_LIST_DIR}
  OPTIONS --no-compress
  FILES ${hourling_clips})
