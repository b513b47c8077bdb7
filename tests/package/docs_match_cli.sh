#!/usr/bin/env bash
# The manual page and the bash completion of vantrel-cli against the program itself: every
# command and option that `vantrel-cli --help` shows is documented and completed (per
# command), and the completion offers exactly the algorithms and wiping schemes that the
# program lists. The manual pages must also format without a warning.
#   docs_match_cli.sh <vantrel-cli> <packaging folder>
set -uo pipefail
cli="$1"
packaging="$2"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

export XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

# shellcheck source=/dev/null
source "$packaging/vantrel-cli.bash-completion"
# What the completion offers for the words given, the last being the one being completed.
complete_words() {
  COMP_WORDS=(vantrel-cli "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _vantrel_cli
  printf '%s\n' "${COMPREPLY[@]}" | sort -u
}
sorted() { tr ' ' '\n' | grep -v '^$' | sort -u; }

# The manual page source with roff's escaped dashes made plain.
manual="$(sed 's/\\-/-/g' "$packaging/vantrel-cli.1.in")"

usage="$("$cli" --help)"
commands="$(grep -oE '^  vantrel-cli [a-z]+' <<<"$usage" | awk '{print $2}' | sort -u)"
[[ -n $commands ]] || fail "no command found in vantrel-cli --help"

offered_commands="$(complete_words '')"
for command in $commands; do
  grep -qx "$command" <<<"$offered_commands" || fail "completion does not offer the command $command"
  grep -qE "^\.B(R)? $command\b|^\.B vantrel-cli $command\b" <<<"$manual" || fail "manual page lacks the command $command"
  options="$(grep -E "^  vantrel-cli $command " <<<"$usage" | grep -oE '(^|[ [|(])(-[a-zA-Z]|--[a-z][a-z-]*)' | tr -d ' [|(' | sort -u)"
  offered="$(complete_words "$command" -)"
  for option in $options; do
    grep -qx -- "$option" <<<"$offered" || fail "completion of '$command -' lacks $option"
    grep -qF -- "$option" <<<"$manual" || fail "manual page lacks the option $option"
  done
done
for option in --help --version; do
  grep -qF -- "$option" <<<"$manual" || fail "manual page lacks $option"
done

# Values: the algorithms' tags and positions, the schemes' classes and positions.
# One line per case: the words before the one completed, then what must be offered.
algorithms="$("$cli" algorithms | cut -f1,2 | tr '\t' '\n' | sort -u | xargs)"
schemes="$("$cli" schemes | cut -f1,2 | tr '\t' '\n' | sort -u | xargs)"
while IFS='|' read -r words expected; do
  # shellcheck disable=SC2086
  got="$(complete_words $words '' | xargs)"
  [[ $got == "$expected" ]] || fail "completion of '$words' offers [$got], expected [$expected]"
done <<EOF
encrypt -a|$algorithms
encrypt --algorithm|$algorithms
shred -s|$schemes
shred --scheme|$schemes
algorithms|
EOF

# A file name after -- even when it looks like an option; files after --password-file.
scratch="$(mktemp -d)"
touch "$scratch/-a-file" "$scratch/secret"
(
  cd "$scratch" || exit 1
  [[ "$(complete_words encrypt -- -a)" == "-a-file" ]] || echo "FAIL: a word after -- is not completed as a file"
  [[ "$(complete_words decrypt --password-file se)" == "secret" ]] || echo "FAIL: --password-file does not complete a file"
) | grep . && failures=$((failures + 1))
rm -rf "$scratch"

if command -v man >/dev/null; then
  for page in vantrel vantrel-cli; do
    warnings="$(sed 's/@PROJECT_VERSION@/0/' "$packaging/$page.1.in" |
      LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z - 2>&1 >/dev/null)"
    [[ -z $warnings ]] || fail "$page.1 formats with warnings: $warnings"
  done
else
  echo "man is not installed: the manual pages' formatting is not checked"
fi

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
echo "manual page and completion match vantrel-cli"
