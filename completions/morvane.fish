# fish completion for morvane
# SPDX-License-Identifier: MIT
# Completes the options, the commands (replay, simulate, rank, highlights, history) and the
# values of --color, --encoding, --palette and --mode, with the game's own Chinese descriptions.

function __morvane_playing
    not __fish_seen_subcommand_from replay simulate rank highlights history
end

function __morvane_game
    not __fish_seen_subcommand_from simulate rank highlights history
end

function __morvane_simulating
    __fish_seen_subcommand_from simulate
end

complete -c morvane -f

# Commands
complete -c morvane -n __morvane_playing -a replay -d '重放回放码（或存着回放码的文件）里的战斗'
complete -c morvane -n __morvane_playing -a simulate -d '静默地打很多局，统计各队的胜率'
complete -c morvane -n __morvane_playing -a rank -d '让参赛者两两静默对战很多局，排出谁最强'
complete -c morvane -n __morvane_playing -a highlights -d '挑出值得分享的战斗和它们的回放码'
complete -c morvane -n __morvane_playing -a history -d '列出在终端里玩过的最近几局，以及重放每一局的命令'

# Game options, also taken by replay
complete -c morvane -n __morvane_game -l seed -x -d '随机种子（按2^32取模）'
complete -c morvane -n __morvane_game -l speed -x -d '每次停顿除以X（0.01到1000）'
complete -c morvane -n __morvane_game -l no-pause -d '不停顿'
complete -c morvane -n __morvane_game -l color -x -a 'auto\t"默认" always never' -d '颜色'
complete -c morvane -n __morvane_game -l encoding -x -a 'auto\t"按区域设置" utf-8 gbk' -d '终端的文字编码'
complete -c morvane -n __morvane_game -l palette -x -a 'auto\t"按终端告诉的背景" dark\t"深色背景" light\t"浅色背景"' -d '终端背景的配色'
complete -c morvane -n __morvane_playing -l no-history -d '这局不记入历史记录'
complete -c morvane -n __morvane_playing -l keep-open -d '结束后等按键再关闭窗口'
complete -c morvane -n __morvane_game -l max-rounds -x -d '过了N回合仍未分出胜负就判为平局（0：不设上限）'
complete -c morvane -n __morvane_game -l record -r -F -d '游戏结束时把回放码写入文件'
complete -c morvane -n __morvane_game -l odds -d '每回合结束后显示各队此刻的胜率'
complete -c morvane -n '__morvane_game; and string match -q -- "--odds=*" (commandline -ct)' \
    -a '--odds=verbose' -d '另显示模拟了多少局'
complete -c morvane -l version -d '显示版本并退出'
complete -c morvane -s h -l help -d '显示说明并退出'

# replay's code or file
complete -c morvane -n '__fish_seen_subcommand_from replay' -F

# simulate
complete -c morvane -n __morvane_simulating -l mode -x -a '1\t"正常模式" 2\t"疯狂阿瓦达模式"' -d '哪种比赛'
complete -c morvane -n __morvane_simulating -l games -x -d '局数（默认1000）'
complete -c morvane -n __morvane_simulating -l seed -x -d '第0局的种子，第i局用S+i（默认1）'
complete -c morvane -n __morvane_simulating -l first-game -x -d '从第K局打起（默认0）'
complete -c morvane -n __morvane_simulating -l threads -x -d '线程数（默认：CPU核数）'
complete -c morvane -n __morvane_simulating -l max-rounds -x -d '过了R回合仍未分出胜负就不再打（默认10000）'
complete -c morvane -n __morvane_simulating -l json -d '以JSON格式输出结果'
complete -c morvane -n __morvane_simulating -l merge -d '把几个分片的--json结果文件加起来'
complete -c morvane -n '__morvane_simulating; and __fish_contains_opt merge' -F

# rank
function __morvane_ranking
    __fish_seen_subcommand_from rank
end
complete -c morvane -n __morvane_ranking -l mode -x -a '1\t"正常模式" 2\t"疯狂阿瓦达模式"' -d '哪种比赛'
complete -c morvane -n __morvane_ranking -l games -x -d '每对打的局数（默认1000）'
complete -c morvane -n __morvane_ranking -l seed -x -d '第p对的第k局用种子S+p×G+k（默认1）'
complete -c morvane -n __morvane_ranking -l opponents -x -d '每个参赛者只对由种子抽出的K个对手'
complete -c morvane -n __morvane_ranking -l first-pair -x -d '从赛程的第P对打起（默认0）'
complete -c morvane -n __morvane_ranking -l pairs -x -d '只打N对（默认：到赛程结束）'
complete -c morvane -n __morvane_ranking -l threads -x -d '线程数（默认：CPU核数）'
complete -c morvane -n __morvane_ranking -l max-rounds -x -d '过了R回合仍未分出胜负就不再打（默认10000）'
complete -c morvane -n __morvane_ranking -l from -r -F -d '从文件读参赛者，每行一个'
complete -c morvane -n __morvane_ranking -l json -d '以JSON格式输出结果'
complete -c morvane -n __morvane_ranking -l csv -d '以CSV格式输出排名表'
complete -c morvane -n __morvane_ranking -l merge -d '把几个分片的--json结果文件加起来'
complete -c morvane -n '__morvane_ranking; and __fish_contains_opt merge' -F

# highlights
function __morvane_highlighting
    __fish_seen_subcommand_from highlights
end
complete -c morvane -n __morvane_highlighting -l mode -x -a '1\t"正常模式" 2\t"疯狂阿瓦达模式"' -d '哪种比赛'
complete -c morvane -n __morvane_highlighting -l fights -x -d '看的场数（默认1000）'
complete -c morvane -n __morvane_highlighting -l top -x -d '每种挑出几场（默认3）'
complete -c morvane -n __morvane_highlighting -l seed -x -d '第0场的种子，第i场用S+i（默认1）'
complete -c morvane -n __morvane_highlighting -l threads -x -d '线程数（默认：CPU核数）'
complete -c morvane -n __morvane_highlighting -l max-rounds -x -d '过了R回合仍未分出胜负就不再打（默认10000）'
complete -c morvane -n __morvane_highlighting -l json -d '以JSON格式输出结果'
