#!/bin/bash
# scripts/capture --hosts over real ssh, to sshd servers of the test's own on
# the loopback address (keys made for the run, a free port each), each in a
# mount namespace where the run folder's path shows that host's own folder.
# Needs root (sshd's logins, namespaces).
# Usage: farm.sh HEDEN BLOBMAKER CONFIG_XML POOL_DIR
set -u
heden=$1 maker=$2 shipped_config=$3 pool=$4
capture=$(realpath "$(dirname "$0")/../../scripts/capture")
source "$(dirname "$0")/checks.sh"
[ "$(id -u)" = 0 ] || { echo "FAILED: the farm test runs sshd and namespaces, as root"; exit 1; }
# The archive maker records blob.dat on a display: the caller's, or one of
# the test's own.
source "$(dirname "$0")/../../scripts/lib/display.sh"
display_reachable || private_display
sshds=()
trap 'kill "${sshds[@]}" ${xvfb:-} 2>/dev/null; rm -rf "$run"' EXIT

# The caller's folder (config.xml, pool/), a host's (with the program and
# blob.dat, 320 x 180 pictures) and a host's that lacks blob.dat.
mkdir farm host
sed 's|<width>800</width>|<width>320</width>|; s|<height>600</height>|<height>240</height>|' "$shipped_config" \
    > farm/config.xml
ln -s "$pool" farm/pool
cp -a farm/. host/
ln -s "$heden" host/heden
(cd host && "$maker" --still 0:record.png >maker.txt 2>&1 && rm record.png maker.txt) ||
    { tail -5 host/maker.txt; echo "FAILED: the archive maker did not record blob.dat for the hosts"; exit 1; }
cp -a host lacking
rm lacking/blob.dat
# The caller's folder has the program, which joins the segments, but no
# blob.dat: every frame comes from a host.
ln -s "$heden" farm/heden

ssh-keygen -q -t ed25519 -N '' -f "$run/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$run/login_key"
printf '%s\n' "ListenAddress 127.0.0.1" "HostKey $run/host_key" "AuthorizedKeysFile $run/login_key.pub" \
    "UsePAM no" "StrictModes no" "PidFile none" > sshd_config
echo "heden-farm $(cat host_key.pub)" > known_hosts
# An sshd run as root needs its privilege separation folder (its service
# makes it at start).
mkdir -p /run/sshd
listening_or_gone() { grep -qs "Server listening" "$1" || exited "$2"; }  # listening_or_gone LOG PID
start_sshd() {  # start_sshd FOLDER NAME...: an sshd showing FOLDER at farm/, reached as NAME...
    local log=$run/sshd-$1.log port _
    for port in $(shuf -i 20000-60000 -n 20); do  # until one is free
        unshare -m sh -c "mount --bind '$run/$1' '$run/farm' &&
            exec /usr/sbin/sshd -D -e -f '$run/sshd_config' -p $port" 2>"$log" &
        until_true 10 listening_or_gone "$log" $!
        if grep -qs "Server listening" "$log"; then
            sshds+=($!)
            printf 'Host %s\n  Port %d\n' "${*:2}" $port >> ssh_config
            return
        fi
        kill $! 2>/dev/null
    done
    return 1
}
start_sshd host farm1 farm2 && start_sshd lacking lacking
check "two sshd servers listen on the loopback address" test ${#sshds[@]} = 2
printf '%s\n' "Host *" "HostName 127.0.0.1" "IdentityFile $run/login_key" "IdentitiesOnly yes" \
    "HostKeyAlias heden-farm" "UserKnownHostsFile $run/known_hosts" "BatchMode yes" >> ssh_config
export PARALLEL_SSH="ssh -F $run/ssh_config"
nothing_left() { test ! -e bad.mkv && ! ls farm host lacking | grep -q segments; }

# One second at 10 frames a second, cut into two segments, one per host.
printf 'farm1\nfarm2\n' > hosts
timeout 300 bash "$capture" --run-folder farm --hosts hosts --jobs 1 --start 2 --end 3 --fps 10 --out farm.mkv \
    >farm.txt 2>&1
check "the capture over ssh succeeds" test $? = 0 -a -s farm.mkv
(cd host && "$heden" --capture "$run/one.mkv" --start 2 --end 3 --fps 10 >/dev/null 2>&1)
check "a one-process capture of the same stretch succeeds" test $? = 0
frames() { ffmpeg -v error -i "$1" -map 0:v -f framemd5 - | grep -v '^#' | awk -F, '{print $NF}'; }
sound() { ffmpeg -v error -i "$1" -map 0:a -f s16le - | md5sum; }
check "its 10 frames are the one process's" \
    test "$(frames farm.mkv | tee f.md5 | wc -l)" = 10 -a "$(cat f.md5)" = "$(frames one.mkv)"
check "its sound is the one process's" test "$(sound farm.mkv)" = "$(sound one.mkv)"
check "no segment is left on the hosts or here" nothing_left

# A host without blob.dat: the capture stops within a minute, with that
# host's words, and no segment stays anywhere.
printf 'farm1\nlacking\n' > hosts
began=$SECONDS
timeout 120 bash "$capture" --run-folder farm --hosts hosts --jobs 1 --start 2 --end 3 --fps 10 --out bad.mkv \
    >bad.txt 2>&1
code=$?
check "a host without blob.dat fails the capture within a minute" \
    test $code != 0 -a $code != 124 -a $((SECONDS - began)) -le 60
check "its message comes back with its name" grep -q "^lacking: heden: .*blob.dat" bad.txt
check "no video and no segment is left on the hosts or here" nothing_left

# Stopped by a scheduler's SIGTERM while both hosts render: no render goes
# on there, and no segment stays anywhere.
printf 'farm1\nfarm2\n' > hosts
bash "$capture" --run-folder farm --hosts hosts --jobs 1 --end 60 --fps 10 --out bad.mkv >stop.txt 2>&1 &
pid=$!
rendering() { test "$(pgrep -fc '^\./heden --capture segments\.')" = 2; }
until_true 120 rendering
kill -TERM $pid
wait_exit
check "stopped by SIGTERM: exit code 143, said last" bash -c \
    "test '$code' = 143 && tail -1 stop.txt | grep -q '^capture: capture stopped (SIGTERM)'"
check "stopped: the renders on the hosts end" until_true 30 eval '! pgrep -f "^\./heden --capture segments\."'
check "stopped: no video and no segment is left on the hosts or here" nothing_left
summary
