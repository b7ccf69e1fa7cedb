# Embeds the pictures, shapes and voice clips in the stage library, beside the asset
# catalogue. The clips are stored uncompressed so that their bytes can be played in place
# for the program's lifetime.
set(hourling_images
  Stage Face1 Face2 Face3 ProgramIcon MainIcon
  Mojiban MojibanMask MojibanDigi MojibanDigiMask
  DigiNumber DigiNumberMask DigiNumSmall DigiNumSmallMask AmPm AmPmMask)
list(TRANSFORM hourling_images PREPEND ${CMAKE_CURRENT_LIST_DIR}/images/)
list(TRANSFORM hourling_images APPEND .png)

set(hourling_clips
  SND_JIKAN1 SND_JIKAN2 SND_JIKAN3 SND_JIKAN4 SND_KINENBI1 SND_KINENBI2 SND_KINENBI3
  SND_MATSU1 SND_MATSU2)
list(TRANSFORM hourling_clips PREPEND ${CMAKE_CURRENT_LIST_DIR}/voice/)
list(TRANSFORM hourling_clips APPEND .wav)

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
