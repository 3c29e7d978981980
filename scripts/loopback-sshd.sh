#!/usr/bin/env bash
# A throwaway OpenSSH server on 127.0.0.1 for tests and benchmarks, kept wholly in one folder.
#
#   loopback-sshd.sh start DIR [DELAY_MS]   starts it (or leaves it running) and writes DIR/ssh_config
#   loopback-sshd.sh stop DIR               stops it and waits until it is gone
#
# DIR holds throwaway host and user keys, sshd_config, sshd.pid, sshd.log, authorized_keys,
# known_hosts and ssh_config. ssh_config names the server `brisko-test` for the current user
# (`ssh -F DIR/ssh_config brisko-test`); with DELAY_MS it also names `brisko-test-slow`, the same
# server reached through bench/delay-relay.py, which delays every chunk DELAY_MS each way. A
# second start with another delay only rewrites ssh_config. As root the server serves every user;
# as another user it serves that user only. Quiet on success.
set -euo pipefail

fail() {
    echo "loopback-sshd: $*" >&2
    exit 1
}

usage() {
    fail "usage: $0 start DIR [DELAY_MS] | stop DIR"
}

sshd_binary=/usr/sbin/sshd
relay=$(cd "$(dirname "$0")/../bench" && pwd)/delay-relay.py

# The pid in DIR/sshd.pid when that process still runs and is this folder's sshd (not another
# process that was given the same number later).
running_pid() {
    local pid
    [ -s "$dir/sshd.pid" ] || return 1
    pid=$(cat "$dir/sshd.pid")
    [[ "$pid" =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null || return 1
    if [ -r "/proc/$pid/cmdline" ]; then
        tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF -- "-f $dir/sshd_config" || return 1
    fi
    echo "$pid"
}

# The server's SFTP program: its own built-in one, which starts at once, unless
# LOOPBACK_SFTP_SERVER names another (the benchmark names the separate program, which the server
# starts through the user's shell as it starts rsync's, so that both tools pay alike).
sftp_server() {
    echo "${LOOPBACK_SFTP_SERVER:-internal-sftp}"
}

write_sshd_config() {
    local port=$1
    cat >"$dir/sshd_config" <<EOF
ListenAddress 127.0.0.1
Port $port
HostKey "$dir/host_ed25519"
AuthorizedKeysFile "$dir/authorized_keys"
PidFile "$dir/sshd.pid"
UsePAM no
StrictModes no
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
AllowUsers $user
UseDNS no
PrintMotd no
X11Forwarding no
MaxStartups 100
MaxSessions 100
LogLevel ERROR
Subsystem sftp $(sftp_server)
EOF
}

write_ssh_config() {
    local port=$1 delay=$2 tmp="$dir/ssh_config.tmp"
    local common
    common="    HostName 127.0.0.1
    Port $port
    User $user
    IdentityFile \"$dir/id_ed25519\"
    IdentitiesOnly yes
    UserKnownHostsFile \"$dir/known_hosts\"
    GlobalKnownHostsFile /dev/null
    StrictHostKeyChecking yes
    BatchMode yes
    LogLevel ERROR"
    {
        # Tests open many short sessions: they share one connection, which lives on for a minute.
        printf 'Host brisko-test\n%s\n' "$common"
        # (In /tmp: a socket's path must stay short, wherever DIR is; %C is a hash of the
        # server, its port and the user.)
        printf '    ControlMaster auto\n    ControlPath /tmp/brisko-ssh-%%C\n    ControlPersist 60\n'
        if [ -n "$delay" ]; then
            printf '\nHost brisko-test-slow\n%s\n' "$common"
            printf '    ProxyCommand %q %q %%h %%p %s\n' "$(command -v python3 || echo python3)" \
                "$relay" "$delay"
        fi
    } >"$tmp"
    mv "$tmp" "$dir/ssh_config"
    # A connection through the relay is checked against the same host key as a direct one.
    printf '[127.0.0.1]:%s %s\n' "$port" "$(cut -d' ' -f1,2 "$dir/host_ed25519.pub")" \
        >"$dir/known_hosts"
}

start() {
    local delay=$1 pid port
    if [ -n "$delay" ] && ! [[ "$delay" =~ ^[0-9]+$ ]]; then
        fail "the delay must be a whole number of milliseconds: $delay"
    fi
    if pid=$(running_pid); then
        port=$(sed -n 's/^Port //p' "$dir/sshd_config")
        write_ssh_config "$port" "$delay"
        return 0
    fi
    [ -x "$sshd_binary" ] || fail "$sshd_binary is missing (install openssh-server)"
    command -v ssh-keygen >/dev/null || fail "ssh-keygen is missing (install openssh-client)"
    if [ "$(id -u)" -eq 0 ]; then
        # sshd running as root separates privileges into this folder.
        mkdir -p /run/sshd && chmod 0755 /run/sshd
    fi
    [ -f "$dir/host_ed25519" ] ||
        ssh-keygen -q -t ed25519 -N '' -C brisko-test-host -f "$dir/host_ed25519" >/dev/null
    [ -f "$dir/id_ed25519" ] ||
        ssh-keygen -q -t ed25519 -N '' -C brisko-test-user -f "$dir/id_ed25519" >/dev/null
    cp "$dir/id_ed25519.pub" "$dir/authorized_keys"
    rm -f "$dir/sshd.pid"

    # Picks a port at random and lets sshd try it: sshd binds before it detaches, so its exit
    # status tells whether the port was free, with no window for another program to take it.
    for _ in $(seq 1 20); do
        port=$((20000 + RANDOM % 40000))
        write_sshd_config "$port"
        if "$sshd_binary" -f "$dir/sshd_config" -E "$dir/sshd.log" 2>>"$dir/sshd.log"; then
            break
        fi
        port=
        grep -q "Address already in use\|Cannot bind" "$dir/sshd.log" 2>/dev/null ||
            fail "sshd did not start: $(tail -n 3 "$dir/sshd.log" 2>/dev/null | tr '\n' ' ')"
        : >"$dir/sshd.log"
    done
    [ -n "$port" ] || fail "sshd found no free port on 127.0.0.1"

    # sshd listens before it detaches and writes its pid file: from then on it accepts.
    for _ in $(seq 1 100); do
        if running_pid >/dev/null; then
            write_ssh_config "$port" "$delay"
            return 0
        fi
        sleep 0.05
    done
    fail "sshd on 127.0.0.1:$port wrote no pid file: $(tail -n 3 "$dir/sshd.log" 2>/dev/null |
        tr '\n' ' ')"
}

stop() {
    local pid child
    pid=$(running_pid) || { rm -f "$dir/sshd.pid"; return 0; }
    # The sessions still open are the listener's children: they go with it.
    for child in $(pgrep -P "$pid" 2>/dev/null || true); do
        kill "$child" 2>/dev/null || true
    done
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || { rm -f "$dir/sshd.pid"; return 0; }
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
    rm -f "$dir/sshd.pid"
}

[ $# -ge 2 ] || usage
user=$(id -un)
case "$1" in
    start)
        [ $# -le 3 ] || usage
        mkdir -p "$2" || fail "cannot create the folder $2"
        dir=$(cd "$2" && pwd)
        start "${3:-}"
        ;;
    stop)
        [ $# -eq 2 ] || usage
        [ -d "$2" ] || exit 0
        dir=$(cd "$2" && pwd)
        stop
        ;;
    *) usage ;;
esac
