# bash completion for morvane                                    -*- shell-script -*-
# SPDX-License-Identifier: MIT
# Completes the options, the commands (replay, simulate, rank, highlights, history) and the
# values of --color, --encoding, --palette and --mode. Works with or without the bash-completion
# package.

_morvane() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  local game="--seed --speed --no-pause --color --encoding --palette --max-rounds --record --odds
              --odds=verbose -h --help"
  # The game's own, not replay's.
  local playing="--no-history --keep-open"
  local simulate="--mode --games --seed --first-game --threads --max-rounds --json --merge
                  -h --help --version"
  local rank="--mode --games --seed --opponents --first-pair --pairs --threads --max-rounds
              --from --json --csv --merge -h --help --version"
  local highlights="--mode --fights --top --seed --threads --max-rounds --json
                    -h --help --version"
  # Options whose value is the next word (or follows an "=").
  local game_values=" --seed --speed --color --encoding --palette --max-rounds --record "
  local simulate_values=" --mode --games --seed --first-game --threads --max-rounds "
  local rank_values=" --mode --games --seed --opponents --first-pair --pairs --threads
                     --max-rounds --from "
  local highlights_values=" --mode --fights --top --seed --threads --max-rounds "

  # bash splits `--color=al` at the "=": find the option the value belongs to.
  local equals=""
  if [[ $cur == = ]]; then
    equals=1 cur=""
  elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
    equals=1 prev=${COMP_WORDS[COMP_CWORD - 2]}
  fi

  # The command, if one was typed before the word being completed; after "--" every word is an
  # argument.
  local command="" merge="" ended="" i word
  for ((i = 1; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    if [[ -n $ended ]]; then
      break
    elif [[ $word == -- ]]; then
      ended=1
    elif [[ -z $command ]]; then
      case $word in
        replay | simulate | rank | highlights | history) command=$word ;;
        --seed | --speed | --color | --encoding | --palette | --max-rounds | --record) ((i++)) ;;
      esac
    elif [[ ($command == simulate || $command == rank) && $word == --merge ]]; then
      merge=1
    fi
  done

  local takes_value=$game_values
  case $command in
    simulate) takes_value=$simulate_values ;;
    rank) takes_value=$rank_values ;;
    highlights) takes_value=$highlights_values ;;
  esac
  # Newlines in the lists above count as spaces.
  takes_value=" ${takes_value//$'\n'/ } "
  local words=""
  if [[ $prev == --record || $prev == --merge || ($prev == --from && $command == rank) ]]; then
    words=files
  elif [[ $takes_value == *" $prev "* ]]; then
    # The word is this option's value: a choice, or a number with nothing to offer.
    case $prev in
      --color) words="auto always never" ;;
      --encoding) words="auto utf-8 gbk" ;;
      --palette) words="auto dark light" ;;
      --mode) words="1 2" ;;
    esac
  elif [[ $prev == --odds && -n $equals ]]; then
    words=verbose
  elif [[ $cur == -* && -z $ended ]]; then
    case $command in
      "") words="$game $playing --version" ;;
      replay) words="$game --version" ;;
      simulate) words=$simulate ;;
      rank) words=$rank ;;
      highlights) words=$highlights ;;
      history) words="-h --help --version" ;;
    esac
  elif [[ $command == replay || -n $merge ]]; then
    # replay's file (a replay code itself is typed or pasted), or the results to merge.
    words=files
  elif [[ -z $command && -z $ended ]]; then
    words="replay simulate rank highlights history"
  fi

  if [[ $words == files ]]; then
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
  else
    mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
  fi
  return 0
}
complete -F _morvane morvane
