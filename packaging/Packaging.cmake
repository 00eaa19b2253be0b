# `cmake --build build/win --target package`: the Windows installer and the
# portable zip, both in the build folder. Needs Debian's wixl (./run-tests
# installs it); the programs alone build without it.
# Fixed for every version: it is how an install finds the one it replaces.
set(ORVL_UPGRADE_CODE "6B0E1B43-3F0C-4C5A-9D8B-2A7C0E4F1D55")
# One product code per version: a rebuilt package of the same version is the
# same product, not a second copy beside it.
string(UUID ORVL_PRODUCT_CODE NAMESPACE ${ORVL_UPGRADE_CODE} NAME ${PROJECT_VERSION}
       TYPE SHA1 UPPER)

set(ORVL_PACKAGE Orvalist-${PROJECT_VERSION})
set(ORVL_MSI ${CMAKE_BINARY_DIR}/${ORVL_PACKAGE}.msi)
set(ORVL_ZIP ${CMAKE_BINARY_DIR}/${ORVL_PACKAGE}.zip)
set(ORVL_WXS ${CMAKE_SOURCE_DIR}/packaging/Orvalist.wxs)

# The manual goes beside the programs in both packages, as Windows text.
set(ORVL_MANUAL_TEXT ${CMAKE_BINARY_DIR}/Orvalist.txt)
add_custom_command(OUTPUT ${ORVL_MANUAL_TEXT}
  COMMAND ${CMAKE_COMMAND} -D SOURCE=${ORVL_MANUAL} -D TARGET=${ORVL_MANUAL_TEXT}
          -P ${CMAKE_SOURCE_DIR}/packaging/TextFile.cmake
  DEPENDS ${ORVL_MANUAL} ${CMAKE_SOURCE_DIR}/packaging/TextFile.cmake
  VERBATIM)

# wixl finds the files the source names in its working folder.
add_custom_command(OUTPUT ${ORVL_MSI}
  COMMAND wixl -a x64 -D Version=${PROJECT_VERSION} -D ProductCode=${ORVL_PRODUCT_CODE}
          -D UpgradeCode=${ORVL_UPGRADE_CODE} -o ${ORVL_MSI} ${ORVL_WXS}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS orvl OConfig ${ORVL_WXS} ${ORVL_MANUAL_TEXT}
  VERBATIM)

add_custom_command(OUTPUT ${ORVL_ZIP}
  COMMAND ${CMAKE_COMMAND} -D ZIP=${ORVL_ZIP} -D FOLDER=${ORVL_PACKAGE}
          -D STAGE=${CMAKE_BINARY_DIR}/portable
          -D BINARY_DIR=${CMAKE_BINARY_DIR} -D SOURCE_DIR=${CMAKE_SOURCE_DIR}
          -P ${CMAKE_SOURCE_DIR}/packaging/MakeZip.cmake
  DEPENDS orvl OConfig ${ORVL_MANUAL_TEXT} ${CMAKE_SOURCE_DIR}/packaging/FIRST-STEPS.txt
          ${CMAKE_SOURCE_DIR}/packaging/MakeZip.cmake
  VERBATIM)

add_custom_target(package DEPENDS ${ORVL_MSI} ${ORVL_ZIP})
