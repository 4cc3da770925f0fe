# Writes the page as one self-contained file: index.html with its style, its icon, the module
# (with its .wasm inside) and the page's scripts inlined. Usage:
#   cmake -DSOURCE_DIR=web -DMODULE=morvane.single.js -DICON=morvane.svg -DOUTPUT=morvane.html
#         -P inline.cmake
file(READ ${SOURCE_DIR}/index.html page)
file(READ ${SOURCE_DIR}/style.css style)
file(READ ${MODULE} module)
file(READ ${ICON} icon)

function(replace_once piece by)
  string(FIND "${page}" "${piece}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "inline.cmake: index.html no longer holds ${piece}")
  endif()
  string(REPLACE "${piece}" "${by}" page "${page}")
  set(page "${page}" PARENT_SCOPE)
endfunction()

# Inside a <script> element only "</script" would end it early.
function(inline_script file)
  file(READ ${SOURCE_DIR}/${file} script)
  string(REPLACE "</script" "<\\/script" script "${script}")
  replace_once("<script src=\"${file}\"></script>" "<script>\n${script}</script>")
  set(page "${page}" PARENT_SCOPE)
endfunction()

replace_once("<link rel=\"stylesheet\" href=\"style.css\">" "<style>\n${style}</style>")
# The icon as a data address: the characters an address cannot hold as they are, escaped.
string(REGEX REPLACE "<!--[^>]*-->" "" icon "${icon}")
string(REGEX REPLACE "[\r\n]+ *" " " icon "${icon}")
foreach(pair "%;%25" "#;%23" "<;%3C" ">;%3E" "\";'")
  list(GET pair 0 from)
  list(GET pair 1 to)
  string(REPLACE "${from}" "${to}" icon "${icon}")
endforeach()
replace_once("href=\"morvane.svg\"" "href=\"data:image/svg+xml,${icon}\"")
string(REPLACE "</script" "<\\/script" module "${module}")
# The module goes before the page's scripts, which find it there.
replace_once("<script src=\"narration.js\"></script>"
             "<script>\n${module}</script>\n<script src=\"narration.js\"></script>")
inline_script(narration.js)
inline_script(board.js)
inline_script(worker.js)
inline_script(page.js)
file(WRITE ${OUTPUT} "${page}")
