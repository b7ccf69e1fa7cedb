# Embeds the pictures, shapes and voice clips in the stage library, beside the asset
# catalogue. The clips are stored uncompressed so that their bytes can be played in place
# for the program's lifetime.
set(hourling_images
  Stage Face1 Face2 Face3 ProgramIcon MainIcon
  Mojiban MojibanMask MojibanDigi MojibanDigiMask
  DigiNumber DigiNumberMask DigiNumSmall DigiNumSmallMask AmPm AmPmMask)
list(TRANSFORM hourling_images PREPEND ${CMAKE_CURRENT_LIST_DIR}/images/)
list(TRANSFORM hourling_images APPEND .png)

# Every clip the voice folder holds, so that a new clip needs no list here.
file(GLOB hourling_clips CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/voice/*.wav)

qt_add_resources(hourling_stage "hourling_pictures"
  PREFIX "/"
  BASE ${CMAKE_CURRENT_LIST_DIR}
  FILES ${hourling_images} ${CMAKE_CURRENT_LIST_DIR}/regions/1.rgn
        ${CMAKE_CURRENT_LIST_DIR}/regions/2.rgn)
qt_add_resources(hourling_stage "hourling_voice"
  PREFIX "/"
  BASE ${CMAKE_CURRENT_LIST_DIR}
  OPTIONS --no-compress
  FILES ${hourling_clips})
