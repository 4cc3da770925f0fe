# Wraps the one-file module in a function that keeps its own source, so that the page can make a
# worker of it where no file can be fetched (a page opened from disk):
#   function MorvaneModuleSource() { <module>; return MorvaneModule; }
#   var MorvaneModule = MorvaneModuleSource();
# Usage: cmake -DMODULE=morvane.single.js -P wrap_module.cmake
file(READ ${MODULE} module)
string(FIND "${module}" "function MorvaneModuleSource()" wrapped)
if(wrapped EQUAL -1)
  file(WRITE ${MODULE} "function MorvaneModuleSource() {\n${module}\nreturn MorvaneModule;\n}\n"
       "var MorvaneModule = MorvaneModuleSource();\n")
endif()
