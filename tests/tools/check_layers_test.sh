#!/usr/bin/env bash
# The layer checker passes a tree whose includes follow the order and fails one that includes
# a higher layer, naming the file and line; SDL belongs to the lowest layer alone, and the network
# library to it and the folders named with --network.
#   check_layers_test.sh CHECKER
set -euo pipefail
checker=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/script" "$tree/gfx/sub" "$tree/engine"
printf '#pragma once\n' >"$tree/script/value.h"
printf '#include "script/value.h"\n#include "gfx/sub/row.h"\n#include <vector>\n' >"$tree/gfx/image.h"
printf '#include "gfx/image.h"\n#include "script/value.h"\n' >"$tree/engine/movie.h"
printf '#include <SDL.h>\n' >"$tree/script/window.cpp"
"$checker" "$tree" script gfx engine

refused() {  # refused WHAT REPORT-PATTERN: the check fails the tree as it is, with that report
  local report
  if report=$("$checker" "$tree" script gfx engine 2>&1); then
    echo "$1 passed the check" >&2
    exit 1
  fi
  grep -q "$2" <<<"$report" || { echo "unexpected report: $report" >&2; exit 1; }
}

printf '#include "script/value.h"\n#include <SDL.h>\n' >"$tree/engine/window.cpp"
refused "an SDL include above the lowest layer" '^engine/window.cpp:2: engine includes SDL, which only script may'
rm "$tree/engine/window.cpp"

printf '#include <boost/beast.hpp>\n' >"$tree/script/socket.cpp"
printf '#include "script/value.h"\n#include <boost/asio/ip/tcp.hpp>\n' >"$tree/engine/server.cpp"
"$checker" --network engine "$tree" script gfx engine
refused "a network include outside the folders that may" '^engine/server.cpp:2: engine includes the network library'
rm "$tree/engine/server.cpp"

printf '#include "gfx/image.h"\n  #include "engine/movie.h"\n' >"$tree/gfx/sub/row.h"
refused "an include of a higher layer" '^gfx/sub/row.h:2: gfx includes engine'
