# Makes the private Wine prefix of the Windows tests, once per build tree: COM1
# and COM2 are mapped to links in PORTS that each test points at a pty or a
# file. Wine's mount manager rewrites the prefix's COM symlinks at every start,
# so the mapping goes through its registry key rather than the symlinks alone;
# a machine's own /dev/ttyS* then get COM3 and up, which no test touches.
#   cmake -DWINE=... -DWINESERVER=... -DPREFIX=... -DPORTS=... -P wine_prefix.cmake
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEDEBUG} -all)
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=") # no offer to fetch Mono or Gecko
file(MAKE_DIRECTORY ${PORTS})
if(EXISTS ${PREFIX}/velmora-ports)
    return()
endif()

# Output to a file, not a pipe: the wine server lives on after the command and
# would hold a pipe open.
set(log ${PREFIX}-setup.log)
function(run_in_prefix)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_FILE ${log} ERROR_FILE ${log}.err TIMEOUT 300)
    if(NOT result EQUAL 0)
        file(READ ${log}.err errors)
        message(FATAL_ERROR "${ARGN} failed (${result}):\n${errors}")
    endif()
endfunction()

run_in_prefix(${WINE} wineboot -i)
foreach(port COM1 COM2)
    string(TOLOWER ${port} link)
    run_in_prefix(${WINE} reg add "HKLM\\Software\\Wine\\Ports" /v ${port} /d ${PORTS}/${link} /f)
endforeach()
run_in_prefix(${WINESERVER} -w) # registry saved; the next start maps the ports
file(TOUCH ${PREFIX}/velmora-ports)
