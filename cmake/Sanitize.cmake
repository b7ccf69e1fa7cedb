# HOURLING_SANITIZE builds every target with the given sanitizers, for a build folder of its
# own: "address,undefined" (make test-sanitize) or "thread". The g++ runtimes come with g++.
set(HOURLING_SANITIZE "" CACHE STRING
    "Sanitizers for every target: address,undefined, address, undefined or thread; empty for none")
set_property(CACHE HOURLING_SANITIZE PROPERTY STRINGS "" address,undefined address undefined thread)

if(HOURLING_SANITIZE)
  if(NOT HOURLING_SANITIZE MATCHES "^(address|undefined|address,undefined|thread)$")
    message(FATAL_ERROR "HOURLING_SANITIZE=${HOURLING_SANITIZE}: use address,undefined, "
                        "address, undefined or thread (ThreadSanitizer goes with no other)")
  endif()
  # A report ends the test that caused it instead of scrolling past.
  add_compile_options(-fsanitize=${HOURLING_SANITIZE} -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${HOURLING_SANITIZE})
endif()

# Test folders that a build leaves out, for example the slow ones in a sanitizer build.
set(HOURLING_SKIP_TEST_DIRS "" CACHE STRING "Folders under tests/ that are not built")
