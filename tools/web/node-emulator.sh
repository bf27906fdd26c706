#!/bin/sh
# Runs a WebAssembly program that CMake built for a configure check (try_run) under node. Node 20's
# own fetch cannot load a .wasm from a file path the way emscripten 3.1.6's loader asks, and it
# refuses the thread flag emcmake would pass, so the check would read node's exit code instead.
exec node --no-experimental-fetch "$@"
