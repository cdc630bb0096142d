# cmake -DWASM=FILE -DSCRIPT=FILE -P EmbedWasm.cmake: writes the WebAssembly as the text of a
# script, in base64, for a page opened from a file.
execute_process(COMMAND base64 -w 0 ${WASM} OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
file(WRITE ${SCRIPT} "window.cocomoWasm = \"${text}\";\n")
