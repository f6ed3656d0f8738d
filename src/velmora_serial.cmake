# The serial core: a port and a port list per platform, and the serial worker
# TCommThread with its hand-over interface. Standard C++ and OS calls only, so
# the console's build and the mingw build for Wine (tests/windows) define it
# from this one file.
set(serial_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(velmora_serial STATIC
    ${serial_dir}/platform/serial_device.h
    ${serial_dir}/platform/port_list.h
    ${serial_dir}/platform/port_users.h
    ${serial_dir}/comm/main_thread_hand_over.h
    ${serial_dir}/comm/tcomm_thread.cpp
    ${serial_dir}/comm/tcomm_thread.h
)
if(WIN32)
    target_sources(velmora_serial PRIVATE
        ${serial_dir}/platform/serial_device_win32.cpp
        ${serial_dir}/platform/port_list_win32.cpp
        ${serial_dir}/platform/port_users_win32.cpp)
else()
    target_sources(velmora_serial PRIVATE
        ${serial_dir}/platform/serial_device_posix.cpp
        ${serial_dir}/platform/port_list_posix.cpp
        ${serial_dir}/platform/port_users_posix.cpp)
endif()
target_include_directories(velmora_serial PUBLIC ${serial_dir})
target_link_libraries(velmora_serial PUBLIC Threads::Threads)
