# Fails when the release executable, resources included, reaches 1 MB:
# it must stay one small file that runs on a clean Windows.
file(SIZE ${EXECUTABLE} size)
message(STATUS "Vorlane.exe: ${size} bytes")
if(size GREATER_EQUAL 1048576)
  message(FATAL_ERROR "Vorlane.exe is ${size} bytes, not under 1 MB")
endif()
