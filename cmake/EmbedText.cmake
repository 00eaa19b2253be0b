# Writes OUTPUT, a C++ source that defines the manual's text from INPUT (line
# ends LF), so the programs carry it without a file beside them. Run by the
# build with INPUT and OUTPUT set.
file(READ ${INPUT} text)
string(REPLACE "\r\n" "\n" text "${text}")
if(text MATCHES "[^\n -~]")
  message(FATAL_ERROR "${INPUT} must be plain ASCII: every character takes one cell")
endif()
if(text MATCHES "\\)manual\"")
  message(FATAL_ERROR "${INPUT} holds the closing delimiter )manual\"")
endif()
file(WRITE ${OUTPUT}
     "// Generated from ${INPUT} at build time; edit that file instead.\n"
     "#include \"Console/Manual.h\"\n\n"
     "extern const char ManualText[] = R\"manual(${text})manual\";\n")
