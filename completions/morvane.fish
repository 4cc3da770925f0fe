# fish completion for morvane
# SPDX-License-Identifier: MIT
# Completes the options, the commands (replay, simulate) and the values of --color,
# --encoding and --mode.

function __morvane_playing
    not __fish_seen_subcommand_from replay simulate
end

function __morvane_game
    not __fish_seen_subcommand_from simulate
end

function __morvane_simulating
    __fish_seen_subcommand_from simulate
end

complete -c morvane -f

# Commands
complete -c morvane -n __morvane_playing -a replay -d 'Replay a fight from a replay code or file'
complete -c morvane -n __morvane_playing -a simulate -d 'Play many silent team matches: win rates'

# Game options, also taken by replay
complete -c morvane -n __morvane_game -l seed -x -d "Seed of the game's chance (modulo 2^32)"
complete -c morvane -n __morvane_game -l speed -x -d 'Divide every pause by X (0.01 to 1000)'
complete -c morvane -n __morvane_game -l no-pause -d 'Skip every pause'
complete -c morvane -n __morvane_game -l color -x -a 'auto always never' -d Colours
complete -c morvane -n __morvane_game -l encoding -x -a 'auto utf-8 gbk' -d 'Text encoding of the terminal'
complete -c morvane -n __morvane_game -l max-rounds -x -d 'Undecided after N rounds: a draw (0 = no cap)'
complete -c morvane -n __morvane_game -l record -r -F -d 'Write the replay code to FILE at the end'
complete -c morvane -n __morvane_game -l odds -d "After each round, each team's chance of winning"
complete -c morvane -n '__morvane_game; and string match -q -- "--odds=*" (commandline -ct)' \
    -a '--odds=verbose' -d 'And how many continuations were played'
complete -c morvane -n __morvane_game -l version -d 'Print the version and exit'
complete -c morvane -s h -l help -d 'Print the options and exit'

# replay's code or file
complete -c morvane -n '__fish_seen_subcommand_from replay' -F

# simulate
complete -c morvane -n __morvane_simulating -l mode -x -a '1\t"The team match" 2\t"The dark match"' -d 'Which match'
complete -c morvane -n __morvane_simulating -l games -x -d 'Number of games (default 1000)'
complete -c morvane -n __morvane_simulating -l seed -x -d 'Seed of game 0; game i uses seed + i'
complete -c morvane -n __morvane_simulating -l first-game -x -d 'Number of the first game played'
complete -c morvane -n __morvane_simulating -l threads -x -d 'Threads (default: the number of cores)'
complete -c morvane -n __morvane_simulating -l max-rounds -x -d 'Cut a battle undecided after R rounds'
complete -c morvane -n __morvane_simulating -l json -d 'Print the figures as JSON'
complete -c morvane -n __morvane_simulating -l merge -d 'Add up the --json results of shards'
complete -c morvane -n '__morvane_simulating; and __fish_contains_opt merge' -F
