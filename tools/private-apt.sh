# Sourced by the scripts that fetch Debian packages for the project's own use (the browser
# edition's library sources, the roots of other architectures): an apt configuration of their own
# (source list, package lists, download cache and package status under one folder), so that the
# machine's own apt set-up and dpkg database are never touched.
#
#   private_apt FOLDER deb|deb-src [ARCHITECTURE]
#
# writes FOLDER/sources.list with a line of the given type for every Debian source of this
# machine's release, and sets the array `apt_options` for apt-get and apt-cache. With an
# ARCHITECTURE the lists are that architecture's alone and apt resolves as if nothing were
# installed, so that a package brings every package it depends on.

private_apt() {
  local folder=$1 type=$2 architecture=${3:-} codename
  mkdir -p "$folder/lists/partial" "$folder/archives/partial"
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  {
    grep -hE '^[[:space:]]*deb[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      grep -F "$codename" |
      # Without the line's own architectures: the lists are those of the architecture asked for.
      sed -E "s/^[[:space:]]*deb[[:space:]]/$type /; s/arch=[^] ]*[[:space:]]*//; s/[[:space:]]*\]/]/; s/\[\][[:space:]]*//" || true
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
      [ -f "$file" ] || continue
      # deb822 stanzas: one line per suite of each stanza that serves this release.
      awk -v codename="$codename" -v type="$type" '
        function flush() {
          if (types ~ /(^| )deb( |$)/ && suites ~ codename && uris != "") {
            n = split(suites, s, " "); m = split(uris, u, " ")
            for (i = 1; i <= n; i++) for (j = 1; j <= m; j++) print type " " u[j] " " s[i] " " components
          }
          types = suites = uris = components = ""
        }
        /^[[:space:]]*$/ { flush(); next }
        /^Types:/ { sub(/^Types:[[:space:]]*/, ""); types = $0 }
        /^URIs:/ { sub(/^URIs:[[:space:]]*/, ""); uris = $0 }
        /^Suites:/ { sub(/^Suites:[[:space:]]*/, ""); suites = $0 }
        /^Components:/ { sub(/^Components:[[:space:]]*/, ""); components = $0 }
        END { flush() }' "$file"
    done
  } | sort -u >"$folder/sources.list"
  if [ ! -s "$folder/sources.list" ]; then
    echo "no Debian source found in /etc/apt" >&2
    return 1
  fi
  apt_options=(-o "Dir::Etc::SourceList=$folder/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$folder/lists" -o "Dir::Cache=$folder" -o "Dir::Cache::Archives=$folder/archives"
    -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
  if [ -n "$architecture" ]; then
    touch "$folder/status"
    apt_options+=(-o "APT::Architecture=$architecture" -o "APT::Architectures::=$architecture"
      -o "Dir::State::status=$folder/status" -o Dir::Etc::Preferences=/dev/null
      -o Dir::Etc::PreferencesParts=/dev/null)
  fi
}
