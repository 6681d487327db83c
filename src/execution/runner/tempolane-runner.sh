#!/bin/sh
# Runs one monitored cron job and records the run in small files under the executions root.
# usage: tempolane-runner JOB-ID [all|errors|none] [BASE64-COMMAND]
# Exit status: 64 invalid id or policy, 73 no run directory, 65 undecodable command,
# otherwise the command's own status.
set -u

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

root=__ROOT__
job_dir=$root/$job_id
runs_dir=$job_dir/runs

/bin/mkdir -p "$runs_dir" || exit 73
/bin/chmod 700 "$job_dir" "$runs_dir" >/dev/null 2>&1

start=$(/bin/date +%s)
run_id=$start-$$
running=$runs_dir/$run_id.running
record=$runs_dir/$run_id.run
temporary=$runs_dir/$run_id.tmp
command_file=$runs_dir/$run_id.command
log_file=$runs_dir/$run_id.log

/usr/bin/printf 'version=1\nstart=%s\npid=%s\n' "$start" "$$" >"$temporary"
/bin/mv -f "$temporary" "$running"

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

if is_strict_base64 "$encoded_command" &&
    /usr/bin/printf '%s' "$encoded_command" | /usr/bin/base64 -d >"$command_file" 2>/dev/null; then
    shell_path=${SHELL-}
    if [ -z "$shell_path" ] || [ ! -f "$shell_path" ] || [ ! -x "$shell_path" ]; then
        shell_path=/bin/sh
    fi
    command=$(/bin/cat "$command_file")
    case $policy in
    all) "$shell_path" -c "$command" >"$log_file" 2>&1 ;;
    errors) "$shell_path" -c "$command" >/dev/null 2>"$log_file" ;;
    none) "$shell_path" -c "$command" >/dev/null 2>&1 ;;
    esac
    status=$?
else
    /usr/bin/printf '%s\n' 'Tempolane could not decode the stored command.' >"$log_file"
    status=65
fi

end=$(/bin/date +%s)
/bin/rm -f "$command_file"

if [ -f "$log_file" ] && [ ! -s "$log_file" ]; then
    /bin/rm -f "$log_file"
elif [ -f "$log_file" ]; then
    /usr/bin/tail -c 1048576 "$log_file" >"$temporary"
    /bin/mv -f "$temporary" "$log_file"
fi

log_name=
if [ -f "$log_file" ]; then
    log_name=$run_id.log
fi
/usr/bin/printf 'version=1\nstart=%s\nend=%s\nexit=%s\npid=%s\nlog=%s\n' \
    "$start" "$end" "$status" "$$" "$log_name" >"$temporary"
/bin/mv -f "$temporary" "$record"
/bin/rm -f "$running"

/bin/ls -1t "$runs_dir"/*.run 2>/dev/null | /usr/bin/awk 'NR > 100' |
    while IFS= read -r old_record; do
        old_base=${old_record%.run}
        /bin/rm -f "$old_record" "$old_base.log" "$old_base.running"
    done

/usr/bin/find "$runs_dir" -type f -mtime +30 -exec /bin/rm -f {} + >/dev/null 2>&1

exit "$status"
