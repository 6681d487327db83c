#!/bin/sh
# Runs one monitored cron job and records the run in small files under the executions root.
# usage: tempolane-runner JOB-ID [all|errors|none] [BASE64-COMMAND]
# Exit status: 64 invalid id or policy, 65 undecodable command, otherwise the command's own
# status. Recording never costs the run: where the run files cannot be written, the command
# runs as cron runs it unmonitored, with the runner's own input, output and error, and the
# runner adds nothing to them.
set -u
# Every file and directory the runner creates is its owner's alone; noclobber makes every
# redirection create a fresh file instead of writing through whatever is at the name.
umask 077
set -C

job_id=${1-}
policy=${2-all}
encoded_command=${3-}

# Only hex digits and hyphens, so the id can never name a path outside the root.
case $job_id in
'' | *[!0123456789abcdefABCDEF-]*) exit 64 ;;
esac
case $policy in
all | errors | none) ;;
*) exit 64 ;;
esac
# The application reads the records under the id in lower case, however the crontab spells it.
job_id=$(/usr/bin/printf '%s' "$job_id" | /usr/bin/tr 'ABCDEF' 'abcdef')

root=__ROOT__
job_dir=$root/$job_id
runs_dir=$job_dir/runs

# Decoders differ on padding in the middle, stray characters and lengths that are not a
# multiple of four (a cut crontab line), so only strict Base64 reaches the decoder.
is_strict_base64() {
    case $1 in
    *[!ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=]*) return 1 ;;
    esac
    [ $((${#1} % 4)) -eq 0 ] || return 1
    unpadded=${1%=}
    unpadded=${unpadded%=}
    case $unpadded in
    *=*) return 1 ;;
    esac
    return 0
}

# Decoded in memory: a crontab command is one line and holds no NUL byte. Trailing line
# feeds of the decoded text are dropped.
is_decoded=false
if is_strict_base64 "$encoded_command" &&
    command=$(/usr/bin/printf '%s' "$encoded_command" | /usr/bin/base64 -d 2>/dev/null); then
    is_decoded=true
fi

shell_path=${SHELL-}
if [ -z "$shell_path" ] || [ ! -f "$shell_path" ] || [ ! -x "$shell_path" ]; then
    shell_path=/bin/sh
fi

# A job or run directory that is a symbolic link could lead the records anywhere: then the
# run is not recorded at all.
is_recording=false
# A default ACL on the data folder takes the umask's place, so every directory is made with
# its mode named; one made meanwhile by a run beside this one is as good.
make_private_directory() {
    [ -d "$1" ] || /bin/mkdir -m 700 "$1" 2>/dev/null || [ -d "$1" ]
}

if [ ! -L "$job_dir" ] && [ ! -L "$runs_dir" ] && make_private_directory "$root" &&
    make_private_directory "$job_dir" && make_private_directory "$runs_dir"; then
    /bin/chmod 700 "$job_dir" "$runs_dir" >/dev/null 2>&1
    is_recording=true
fi

start=$(/bin/date +%s)
run_id=$start-$$
running=$runs_dir/$run_id.running
record=$runs_dir/$run_id.run
temporary=$runs_dir/$run_id.tmp
log_file=$runs_dir/$run_id.log

# Creates an empty file and makes it private before anything is written to it: a default ACL
# would otherwise give the file the group's and others' bits.
create_private() {
    { true >"$1"; } 2>/dev/null || return 1
    /bin/chmod 600 "$1" >/dev/null 2>&1
    return 0
}

# Writes the printf output to a fresh scratch file and renames it onto the target: a reader
# sees the file whole or not at all, and whatever was planted at either name is replaced,
# never written through.
put() {
    put_target=$1
    shift
    /bin/rm -f "$temporary" "$put_target" 2>/dev/null
    if [ ! -e "$put_target" ] && [ ! -L "$put_target" ] && create_private "$temporary" &&
        { /usr/bin/printf "$@" >>"$temporary"; } 2>/dev/null &&
        /bin/mv -f "$temporary" "$put_target" 2>/dev/null; then
        return 0
    fi
    /bin/rm -f "$temporary" 2>/dev/null
    return 1
}

# The output is kept only once the run is on record; otherwise it goes where cron expects it.
is_marked=false
if $is_recording && put "$running" 'version=1\nstart=%s\npid=%s\n' "$start" "$$"; then
    is_marked=true
fi
is_logging=false
if $is_marked && $is_decoded && [ "$policy" != none ]; then
    /bin/rm -f "$log_file" 2>/dev/null
    if create_private "$log_file"; then
        is_logging=true
    fi
fi

# The kept stream passes through a pipe into a writer that holds only the last MiB, so a job
# that prints without end neither fills the disk nor fails on a full one, as under cron,
# which reads an unmonitored job's output from a pipe too. Prints the command's status.
run_into_log() {
    {
        {
            case $policy in
            all) "$shell_path" -c "$command" 2>&1 3>&- ;;
            *) "$shell_path" -c "$command" 2>&1 >/dev/null 3>&- ;;
            esac
            /usr/bin/printf '%s\n' "$?" >&3
        } | /usr/bin/tail -c 1048576 >>"$log_file" 2>/dev/null 3>&-
    } 3>&1
}

if ! $is_decoded; then
    message='Tempolane could not decode the stored command.'
    if ! $is_marked || ! put "$log_file" '%s\n' "$message"; then
        /usr/bin/printf '%s\n' "$message" >&2
    fi
    status=65
elif $is_logging; then
    status=$(run_into_log)
elif $is_marked && [ "$policy" = none ]; then
    "$shell_path" -c "$command" >/dev/null 2>&1
    status=$?
else
    "$shell_path" -c "$command"
    status=$?
fi

if $is_recording; then
    end=$(/bin/date +%s)
    log_name=
    if [ -s "$log_file" ] && [ ! -L "$log_file" ]; then
        log_name=$run_id.log
    else
        /bin/rm -f "$log_file" 2>/dev/null
    fi
    # Without the record, the marker is the only trace the run leaves.
    if put "$record" 'version=1\nstart=%s\nend=%s\nexit=%s\npid=%s\nlog=%s\n' \
        "$start" "$end" "$status" "$$" "$log_name"; then
        /bin/rm -f "$running" 2>/dev/null
    fi

    # Listed by name rather than matched on a command line, so that any number of records
    # is pruned; names are relative to the run directory.
    (
        cd "$runs_dir" &&
            /bin/ls -1qt |
            /usr/bin/awk '/\.run$/ && ++count > 100 {
                base = substr($0, 1, length($0) - 4)
                print base ".run"; print base ".log"; print base ".running"
            }' |
            /usr/bin/tr '\n' '\0' | /usr/bin/xargs -0 /bin/rm -f --
    ) >/dev/null 2>&1
    /usr/bin/find "$runs_dir" -type f -mtime +30 -exec /bin/rm -f {} + >/dev/null 2>&1
fi

exit "$status"
