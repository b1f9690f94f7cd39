#!/usr/bin/env bash
# set, reset and assign through the command-line tool against simulated
# cameras on the virtual LAN; the next search shows what the cameras did.
# usage: cli_configure_lab_test.sh LAB CLI MODE   (MODE: root or user)
set -uo pipefail
lab=$1 cli=$2 mode=$3
profiles=$(cd "$(dirname "$0")/../../tools/profiles" && pwd)
source "$(dirname "$0")/check.sh"

in_lab() {  # a script run in the lab with the pair of cameras, $cli in scope
  "$lab" --mode "$mode" --restart-delay 0 --cameras "$profiles/pair.json" "${hosts[@]}" -- \
    env CLI="$cli" bash -c "$1" 2>&1
}

hosts=()
out=$(in_lab '$CLI set --mac 02:00:00:00:00:02 --password pw2 --name Renamed --new-ip 192.168.1.77 &&
  sleep 0.3 && $CLI search')
[ $? -ne 77 ] || { echo "skipped: no namespace"; exit 77; }
check "set says what it sent" grep -q 'sent set-device-info to 02-00-00-00-00-02 (192.168.1.32): name=Renamed ip=192.168.1.77 mask=255.255.255.0 gateway=192.168.1.1 dhcp=off' <<<"$out"
check "set changes name and address" grep -Eq '^Renamed +192\.168\.1\.77 +[a-z]+[0-9]+ +02-00-00-00-00-02 ' <<<"$out"

out=$(in_lab '$CLI reset --ip 192.168.1.31 --password password-long-1 && sleep 0.3 && $CLI search')
check "reset brings back the factory profile" grep -Eq '^Factory one +192\.168\.1\.201 +[a-z]+[0-9]+ +02-00-00-00-00-01 ' <<<"$out"

out=$(in_lab '$CLI set --mac 02-00-00-00-00-02 --password PW2 --name Evil; echo "status $?";
  $CLI reset --ip 192.168.1.31 --password "password-long-1 "; echo "status $?"; cat "$OSTREL_LAB_LOG"')
check "a wrong password is refused" test "$(grep -c '^status 1$' <<<"$out")" -eq 2
check "a wrong password sends nothing" bash -c '! grep -Eq "set-device-info|factory-default" <<<"$1"' _ "$out"

out=$(in_lab 'echo pw2 | $CLI set --mac 02-00-00-00-00-02 --password-file - --name FromStdin;
  echo "status $?"; printf "pw2\n" >"$OSTREL_LAB_DIR/pw"; $CLI set --mac 02-00-00-00-00-02 --password-file "$OSTREL_LAB_DIR/pw" --name FromFile;
  echo "status $?"')
check "the password from standard input" grep -q 'sent set-device-info to 02-00-00-00-00-02 (192.168.1.32): name=FromStdin ' <<<"$out"
check "the password from a file" grep -q 'sent set-device-info to 02-00-00-00-00-02 (192.168.1.32): name=FromFile ' <<<"$out"
check "both succeed" test "$(grep -c '^status 0$' <<<"$out")" -eq 2

# The prompt, through a pseudo-terminal: types $1 at "Camera password: ",
# then prints what the terminal showed, the exit status and whether the
# terminal echoes again.
prompt_and_type() {
  in_lab "python3 - \"\$CLI\" '$1' <<\"PY\"
import os, pty, sys, termios
pid, fd = pty.fork()
if pid == 0:
    os.execv(sys.argv[1], [sys.argv[1], 'reset', '--ip', '192.168.1.31'])
seen = b''
while b'Camera password: ' not in seen:
    seen += os.read(fd, 1024)
os.write(fd, sys.argv[2].encode().decode('unicode_escape').encode('latin-1'))
while True:
    try:
        chunk = os.read(fd, 1024)
    except OSError:
        break
    if not chunk:
        break
    seen += chunk
_, status = os.waitpid(pid, 0)
print(seen.decode(errors='replace'))
print('status', os.waitstatus_to_exitcode(status))
print('echo', 'on' if termios.tcgetattr(fd)[3] & termios.ECHO else 'off')
PY
cat \"\$OSTREL_LAB_LOG\""
}

out=$(prompt_and_type 'password-long-1\n')
check "the prompt asks for the password" grep -q 'Camera password: ' <<<"$out"
check "the prompted password is used" grep -q 'sent factory-default to 02-00-00-00-00-01 (192.168.1.31)' <<<"$out"
check "the prompt does not echo" bash -c '! grep -q password-long-1 <<<"$1"' _ "$out"
check "the prompted reset succeeds" grep -qx 'status 0' <<<"$out"
check "the terminal echoes after the prompt" grep -qx 'echo on' <<<"$out"

out=$(prompt_and_type '\x03')
check "Ctrl-C at the prompt ends the command" grep -qx 'status -2' <<<"$out"
check "Ctrl-C at the prompt sends nothing" bash -c '! grep -q factory-default <<<"$1"' _ "$out"
check "Ctrl-C at the prompt leaves the terminal echoing" grep -qx 'echo on' <<<"$out"

hosts=(--host 192.168.1.100 --host 192.168.1.101)
out=$(in_lab '$CLI assign --mac 02-00-00-00-00-02 --first 192.168.1.100 --last 192.168.1.120 --mask 255.255.255.0 \
  --gateway 192.168.1.254 --password pw2 2>/dev/null')
check "the ping report stays off standard output" bash -c '! grep -q -e "^Reply" -e "^_pinging" <<<"$1"' _ "$out"
check "standard output carries the result" grep -q '^sent multi-set for 02-00-00-00-00-02' <<<"$out"

out=$(in_lab '$CLI assign --mac 02-00-00-00-00-02 --mac 02-00-00-00-00-01 --first 192.168.1.100 \
  --last 192.168.1.120 --mask 255.255.255.0 --gateway 192.168.1.254 --password password-long-1 &&
  sleep 0.3 && $CLI search')
# (In user mode the hosts are addresses of the workstation's own namespace.)
check "assign skips the addresses in use" grep -Eq 'skipped 192\.168\.1\.101: (answers ping|this workstation.s address)' <<<"$out"
check "the first camera given gets the third address" grep -Eq '^Second +192\.168\.1\.102 ' <<<"$out"
check "the second camera given gets the fourth address" grep -Eq '^First +192\.168\.1\.103 ' <<<"$out"

echo "$failures failed"
[ $failures -eq 0 ]
