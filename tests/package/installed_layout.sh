#!/usr/bin/env bash
# Installs the build into a scratch root, as the package lays it out, and uses it from there:
# the programs started through their links in usr/bin must find their companions in
# usr/lib/vantrel/ (the program folder is the link's target folder), and the program folder
# holds nothing but the programs and what they read.
#   installed_layout.sh <build folder> <scratch folder>
set -uo pipefail
build="$1"
scratch="$2"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch/home"
root="$scratch/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$scratch/install.log" 2>&1 || {
  cat "$scratch/install.log"
  exit 1
}
program_folder="$root/usr/lib/vantrel"
export XDG_CONFIG_HOME="$scratch/home"

programs=(vantrel-cli)
[[ -x $build/bin/vantrel ]] && programs+=(vantrel)
for program in "${programs[@]}"; do
  link="$root/usr/bin/$program"
  [[ -L $link && "$(readlink "$link")" == "../lib/vantrel/$program" ]] ||
    fail "usr/bin/$program is not a relative link to ../lib/vantrel/$program"
  [[ -x $program_folder/$program ]] || fail "usr/lib/vantrel/$program is missing"
done

# Descriptions come from cryptos1033.ini in the program folder: a run through the link that
# missed the folder would print them empty.
listing="$("$root/usr/bin/vantrel-cli" algorithms)" || fail "vantrel-cli algorithms through the link failed"
[[ "$(head -1 <<<"$listing" | cut -f4)" == Blowfish* ]] ||
  fail "vantrel-cli through the link found no descriptions: $(head -1 <<<"$listing")"
"$root/usr/bin/vantrel-cli" selftest >/dev/null || fail "vantrel-cli selftest through the link failed"

if [[ -x $program_folder/vantrel ]]; then
  if ! env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen VANTREL_QUIT_AFTER_MS=300 \
    timeout 60 "$root/usr/bin/vantrel" >"$scratch/vantrel.log" 2>&1; then
    fail "vantrel through the link did not start and close: $(cat "$scratch/vantrel.log")"
  fi
  grep -qF "AppPath=$program_folder/" "$XDG_CONFIG_HOME/Vantrel/registry.ini" 2>/dev/null ||
    fail "AppPath is not the installed program folder: $(cat "$XDG_CONFIG_HOME/Vantrel/registry.ini" 2>&1)"
fi

# Only programs and companions in the program folder: no test program, no picture source.
unexpected="$(cd "$program_folder" && find . -type f | sed 's|^\./||' | grep -vE \
  '^(vantrel|vantrel-cli|vantrel-context-menu|(cryptos|shreds)[^/]*\.ini|[^/]*\.lng|res/.*\.(jpg|png)|Help/.*)$')"
[[ -z $unexpected ]] || fail "unexpected files in usr/lib/vantrel: $unexpected"
# Every companion the build put beside the programs is installed.
companions() { (cd "$1" && find . -type f \( -path './res/*' -o -path './Help/*' -o -name '*.ini' -o -name '*.lng' \) | sort); }
missing="$(comm -23 <(companions "$build/bin") <(companions "$program_folder"))"
[[ -z $missing ]] || fail "companions of bin/ not installed: $missing"

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
rm -rf "$scratch"
echo "installed layout works from usr/bin"
