# The installation package: a folder with setup.exe and Data\ holding the
# three other programs and the readme, and, for the 32-bit build, a zip of it
# made by CPack.
#
# No control libraries go into Data\: the programs use only the platform's
# own controls, and a file named like a system library would replace the
# user's real one. Setup still replaces a library that a package carries.
#
# Data\readme.zip keeps the name setup looks for, but holds plain text:
# setup copies it byte for byte to readme.txt.

# CRLF line ends, so that Notepad shows the lines.
set(bv_readme_source ${CMAKE_CURRENT_SOURCE_DIR}/readme.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${bv_readme_source})
file(READ ${bv_readme_source} bv_readme_text)
string(REPLACE "\n" "\r\n" bv_readme_text "${bv_readme_text}")
set(BV_README ${CMAKE_CURRENT_BINARY_DIR}/readme.txt CACHE INTERNAL "")
file(WRITE ${BV_README} "${bv_readme_text}")

set(BV_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package/BrenloVistrel CACHE INTERNAL "")

# Deferred to the end of the project, so that the configuration tool's
# target is seen wherever its folder is added.
function(bv_define_package)
  set(data_files $<TARGET_FILE:brenlo_kel_vo> $<TARGET_FILE:uninstall>)
  set(programs setup brenlo_kel_vo uninstall)
  if(TARGET brenlo_kel_vo_config)
    list(PREPEND data_files $<TARGET_FILE:brenlo_kel_vo_config>)
    list(APPEND programs brenlo_kel_vo_config)
  else()
    message(WARNING "No target brenlo_kel_vo_config: the package lacks the configuration tool, "
                    "and setup from it stops at \"Cannot find installation file(s)\".")
  endif()
  add_custom_target(installer_package ALL
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${BV_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${BV_PACKAGE_DIR}/Data
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:setup> ${BV_PACKAGE_DIR}/setup.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${data_files} ${BV_PACKAGE_DIR}/Data/
    COMMAND ${CMAKE_COMMAND} -E copy ${BV_README} ${BV_PACKAGE_DIR}/Data/readme.zip
    DEPENDS ${programs} ${BV_README}
    COMMENT "Package folder ${BV_PACKAGE_DIR}"
    VERBATIM)

  if(TARGET brenlo_kel_vo_config)
    set(with_tool ON)
  else()
    set(with_tool OFF)
  endif()
  add_test(NAME package_layout
    COMMAND ${CMAKE_COMMAND} -DPACKAGE=${BV_PACKAGE_DIR} -DWITH_TOOL=${with_tool}
            -P ${PROJECT_SOURCE_DIR}/installer/check_package.cmake)

  # Only the 32-bit build is released. A 64-bit program on Vista and later
  # gets neither the file virtualization that keeps C:\WINDOWS\b_kelvo
  # writable for a standard user nor the installer detection that lets setup
  # write to the All Users Start Menu; its package folder serves the tests.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    return()
  endif()
  install(PROGRAMS $<TARGET_FILE:setup> DESTINATION .)
  install(PROGRAMS ${data_files} DESTINATION Data)
  install(FILES ${BV_README} DESTINATION Data RENAME readme.zip)
  set(CPACK_SYSTEM_NAME win32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME BrenloVistrel)
  set(CPACK_PACKAGE_VERSION 1.0)
  set(CPACK_PACKAGE_VENDOR "Brenlo Corporation")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
  include(CPack)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL bv_define_package)
