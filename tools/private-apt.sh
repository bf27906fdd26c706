# Sourced by the scripts that fetch Debian packages for the project's own use (the browser
# edition's library sources, the roots of other architectures): an apt configuration of their own
# (source lists, package lists, download cache and package status under one folder), so that the
# machine's own apt set-up and dpkg database are never touched.
#
#   private_apt FOLDER deb|deb-src [ARCHITECTURE]
#
# copies every Debian source of this machine's release as the given type: one-line entries into
# FOLDER/sources.list, deb822 stanzas into FOLDER/sources.list.d/, each with its own options (the
# key it is signed with above all), only the architectures left out, since the lists are those of
# the architecture asked for; disabled stanzas (Enabled: no) are left out. Sets the array
# `apt_options` for apt-get and apt-cache. With an ARCHITECTURE the lists are that architecture's
# alone and apt resolves as if nothing were installed, so that a package brings every package it
# depends on. The machine's apt folder is /etc/apt, or PRIVATE_APT_ETC when set.

private_apt() {
  local folder=$1 type=$2 architecture=${3:-} codename etc=${PRIVATE_APT_ETC:-/etc/apt} file
  mkdir -p "$folder/lists/partial" "$folder/archives/partial"
  rm -rf "$folder/sources.list.d"
  mkdir -p "$folder/sources.list.d"
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  { grep -hE '^[[:space:]]*deb[[:space:]]' "$etc/sources.list" "$etc"/sources.list.d/*.list 2>/dev/null |
      grep -F "$codename" |
      # Without the line's own architectures: the lists are those of the architecture asked for.
      sed -E "s/^[[:space:]]*deb[[:space:]]/$type /; s/arch=[^] ]*[[:space:]]*//; s/[[:space:]]*\]/]/; s/\[\][[:space:]]*//" ||
      true; } | sort -u >"$folder/sources.list"
  for file in "$etc"/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    # Each stanza that serves this release as it stands, but for its type and architectures; a
    # field's continuation lines (a key written out in Signed-By) go with it.
    awk -v codename="$codename" -v type="$type" '
      function flush() {
        if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " codename "[- ]") && tolower(enabled) != "no") {
          printf "%s%s\n", (printed ? "\n" : ""), kept
          printed = 1
        }
        kept = types = suites = enabled = field = ""
      }
      /^[[:space:]]*$/ { flush(); next }
      /^#/ { next }
      /^[[:space:]]/ { if (field != "Architectures" && field != "Types") kept = kept "\n" $0; next }
      {
        field = $0; sub(/:.*/, "", field)
        value = $0; sub(/^[^:]*:[[:space:]]*/, "", value)
        if (field == "Types") { types = value; kept = kept (kept == "" ? "" : "\n") "Types: " type; next }
        if (field == "Suites") suites = value
        if (field == "Enabled") { enabled = value; next }
        if (field == "Architectures") next
        kept = kept (kept == "" ? "" : "\n") $0
      }
      END { flush() }' "$file" >"$folder/sources.list.d/$(basename "$file")"
    [ -s "$folder/sources.list.d/$(basename "$file")" ] || rm "$folder/sources.list.d/$(basename "$file")"
  done
  if [ ! -s "$folder/sources.list" ] && [ -z "$(ls -A "$folder/sources.list.d")" ]; then
    echo "no Debian source found in $etc" >&2
    return 1
  fi
  apt_options=(-o "Dir::Etc::SourceList=$folder/sources.list" -o "Dir::Etc::SourceParts=$folder/sources.list.d"
    -o "Dir::State::Lists=$folder/lists" -o "Dir::Cache=$folder" -o "Dir::Cache::Archives=$folder/archives"
    -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
  if [ -n "$architecture" ]; then
    touch "$folder/status"
    apt_options+=(-o "APT::Architecture=$architecture" -o "APT::Architectures::=$architecture"
      -o "Dir::State::status=$folder/status" -o Dir::Etc::Preferences=/dev/null
      -o Dir::Etc::PreferencesParts=/dev/null)
  fi
}
