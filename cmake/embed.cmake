# Writes the bytes of INPUT as a C++ array named NAME into OUTPUT.
#   cmake -DINPUT=a.res -DOUTPUT=a.cpp -DNAME=programRes -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <stddef.h>\n"
  "extern const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
  "extern const size_t ${NAME}Size = ${size};\n")
