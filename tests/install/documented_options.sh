#!/usr/bin/env bash
# Every long option that `morvane --help` and the help of each command (replay, simulate, rank,
# highlights) print must be in both manual pages (English and Chinese) and be offered by the bash, zsh and
# fish completions in the same place on the command line. The options are read from the help text whatever its
# language; a command the executable does not have yet is skipped.
# Usage: documented_options.sh path/to/morvane source-dir
set -uo pipefail
bin=${1:?usage: documented_options.sh path/to/morvane source-dir}
src=${2:?usage: documented_options.sh path/to/morvane source-dir}
manual=$src/doc/morvane.6.in
chinese_manual=$src/doc/morvane.zh_CN.6.in
bash_file=$src/completions/morvane.bash
zsh_file=$src/completions/_morvane
fish_file=$src/completions/morvane.fish
failed=0

fail() {
  echo "$*"
  failed=1
}

# The long options a help text lists (its lines that start with an option; what it says of
# another command's options, as rank's of simulate's, is not its own), once each.
long_options() {
  grep -E -- '^  -' | grep -oE -- '(^|[^[:alnum:]-])--[a-z][a-z0-9-]*' | sed 's/^[^-]*//' | sort -u
}

# Whether text $1 names option $2 as a whole word.
names() {
  grep -qE -- "(^|[^[:alnum:]-])$2([^[:alnum:]-]|\$)" <<<"$1"
}

# What the bash completion offers for the command line "$@" (the last word is being typed).
bash_offers() {
  bash --norc --noprofile -c '
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=()
    _morvane
    printf "%s\n" "${COMPREPLY[@]}"' sh "$bash_file" "$@"
}

# What the fish completion offers for the command line $1 (when fish is installed).
fish_offers() {
  fish --no-config -c "source '$fish_file'; complete -C '$1'" | cut -f1
}

manual_text=$(sed 's/\\-/-/g' "$manual")
chinese_manual_text=$(sed 's/\\-/-/g' "$chinese_manual")
zsh_text=$(<"$zsh_file")
fish_text=$(<"$fish_file")
top_help=$("$bin" --help) || fail "morvane --help failed"

# Checks the options of one command: $1 the command ("" for the game itself).
check() {
  local command=$1 help
  if [ -z "$command" ]; then
    help=$top_help
  else
    # A command the program lacks either fails or shows the program's own help.
    if ! help=$("$bin" "$command" --help 2>/dev/null) || [ "$help" = "$top_help" ]; then
      echo "morvane $command: no such command yet, skipped"
      return
    fi
  fi
  # An option as CLI11 spells its default value (--odds{on}) is no option a person can type.
  if grep -qE -- '--[a-z][a-z0-9-]*\{' <<<"$help"; then
    fail "morvane ${command:+$command }--help spells an option as CLI11 does: $(grep -oE -- '--[a-z][a-z0-9-]*\{[^}]*\}' <<<"$help" | head -1)"
  fi
  local options
  options=$(long_options <<<"$help")
  [ -n "$options" ] || fail "morvane ${command:+$command }--help names no option"
  local words=(morvane ${command:+"$command"} --)
  local bash_list fish_list=""
  bash_list=$(bash_offers "${words[@]}")
  if command -v fish >/dev/null; then
    fish_list=$(fish_offers "${words[*]}")
  fi
  local option
  for option in $options; do
    local where="${command:-morvane} $option"
    names "$manual_text" "$option" || fail "$where: not in the manual page"
    names "$chinese_manual_text" "$option" || fail "$where: not in the Chinese manual page"
    grep -qxF -- "$option" <<<"$bash_list" || fail "$where: not offered by the bash completion"
    names "$zsh_text" "$option" || fail "$where: not in the zsh completion"
    if command -v fish >/dev/null; then
      grep -qxF -- "$option" <<<"$fish_list" || fail "$where: not offered by the fish completion"
    else
      grep -qE -- "-l ${option#--}([^[:alnum:]-]|\$)" <<<"$fish_text" ||
        fail "$where: not in the fish completion"
    fi
  done
}

check ""
check simulate
check replay
check history
check rank
check highlights

# The commands and the values of the options that take a choice, where they belong.
expect_bash() {
  local want=$1 got
  shift
  got=$(bash_offers "$@" | sort | paste -sd' ')
  [ "$got" = "$want" ] || fail "bash completion of '$*': '$got', not '$want'"
}
expect_bash "highlights history rank replay simulate" morvane ""
expect_bash "always auto never" morvane --color ""
expect_bash "auto gbk utf-8" morvane replay --encoding ""
expect_bash "auto dark light" morvane --palette ""
expect_bash "" morvane replay --no-h
expect_bash "1 2" morvane simulate --mode ""
expect_bash "" morvane simulate --color ""
expect_bash "1 2" morvane rank --mode ""
expect_bash "1 2" morvane highlights --mode ""
expect_bash "" morvane highlights --top ""

[ "$failed" -eq 0 ] && echo "every option is documented and completed"
exit "$failed"
