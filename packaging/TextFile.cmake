# Copies SOURCE to TARGET as text with Windows line ends, as the packages
# ship their texts. Run by the package target with SOURCE and TARGET set.
file(READ ${SOURCE} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TARGET} "${text}")
