# bash completion for varkel-cli

_varkel_cli()
{
    local cur prev words cword
    _init_completion || return

    local commands="help highlight comment-block bindings detect lint"
    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            help | highlight | comment-block | bindings | detect | lint)
                command=${words[i]}
                break
                ;;
        esac
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands -h --help --version" -- "$cur"))
        return
    fi

    case $prev in
        --set)
            COMPREPLY=($(compgen -W "Q1 Q2 Q3 auto" -- "$cur"))
            return
            ;;
        --default)
            COMPREPLY=($(compgen -W "Q1 Q2 Q3" -- "$cur"))
            return
            ;;
        --data)
            _filedir -d
            return
            ;;
        --conflicts)
            COMPREPLY=($(compgen -W "none active all" -- "$cur"))
            return
            ;;
        --encoding)
            COMPREPLY=($(compgen -W "auto latin1 utf8" -- "$cur"))
            return
            ;;
        --format)
            if [[ $command == highlight ]]; then
                COMPREPLY=($(compgen -W "classes ansi" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "tsv table" -- "$cur"))
            fi
            return
            ;;
        --char | --size)
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        local options
        case $command in
            help) options="" ;;
            highlight) options="--set --data --color-strings --format --encoding --help" ;;
            comment-block) options="--char --size --auto --fixed --center --left --upper --keep-case --crlf --encoding --help" ;;
            bindings) options="--set --data --conflicts --format --lines --encoding --effective --help" ;;
            detect) options="--default --data --encoding --help" ;;
            lint) options="--set --data --names --encoding --help" ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    case $command in
        help) COMPREPLY=($(compgen -W "highlight comment-block bindings detect lint" -- "$cur")) ;;
        comment-block) ;;
        *) _filedir ;;
    esac
}
complete -F _varkel_cli varkel-cli
