# Writes OUTPUT, a C++ source that holds the licence (LICENSE) and the
# third-party notices (NOTICES) as two strings, as the About box shows them.
#   cmake -DLICENSE=... -DNOTICES=... -DOUTPUT=... -P embed_texts.cmake
# SPDX-License-Identifier: MIT
set(out "// Written by the build from LICENSE and THIRD_PARTY_NOTICES.\nnamespace ruvo {\n")
foreach(pair "kLicenceText|${LICENSE}" "kNoticesText|${NOTICES}")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 file)
  file(READ "${file}" text)
  string(FIND "${text}" ")ruvo_text\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file} holds the strings' closing delimiter")
  endif()
  string(APPEND out "extern const char ${name}[] = R\"ruvo_text(${text})ruvo_text\";\n")
endforeach()
string(APPEND out "} // namespace ruvo\n")
file(WRITE "${OUTPUT}" "${out}")
