#!/usr/bin/env bash
# writes-nothing.sh: plays a whole game under strace, from the welcome screen through "Vstoupit",
# Ctrl+N and clicks on the house until the game-over screen comes up, then Ctrl+Q, and checks
# that the program (every thread and child of it) created, changed or removed no file outside
# /dev, /proc and its runtime folder ($XDG_RUNTIME_DIR, where sockets live).
#
#   writes-nothing.sh GAME DATA_DIR [SCENARIO]
#
# The program runs in a fresh, empty home folder; its output streams go to a log file of this
# script, which is not counted. Scenarios:
#   desktop         XDG_RUNTIME_DIR set, SDL picks its audio driver itself (the default)
#   no-runtime-dir  XDG_RUNTIME_DIR unset, SDL picks its audio driver itself
#   dummy-audio     XDG_RUNTIME_DIR set, SDL_AUDIODRIVER=dummy
# Prints every change, every failed attempt at one and every program started; exits 0 when
# there was no change and the program left with status 0.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
game=$1
data=$2
scenario=${3:-desktop}
source "$here/xgame.sh"
xg_init
# No session bus, as on a bare desktop: the one a D-Bus library would start writes to the home.
xg_start_display wm --no-bus
xg_prepare_game "$game" "$data"

mkdir "$XG_WORK/home" "$XG_WORK/trace"
export HOME=$XG_WORK/home
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME SDL_AUDIODRIVER DBUS_SESSION_BUS_ADDRESS
runtime=
case "$scenario" in
desktop | dummy-audio)
    runtime=$XG_WORK/runtime
    mkdir -m 700 "$runtime"
    export XDG_RUNTIME_DIR=$runtime
    ;;
no-runtime-dir) unset XDG_RUNTIME_DIR ;;
*) echo "unknown scenario $scenario" >&2; exit 2 ;;
esac
[ "$scenario" = dummy-audio ] && export SDL_AUDIODRIVER=dummy

calls=openat,open,creat,mkdir,mkdirat,rename,renameat,renameat2,unlink,unlinkat,rmdir,link,linkat
calls+=,symlink,symlinkat,truncate,ftruncate,fallocate,chmod,fchmod,fchmodat,chown,fchown,lchown
calls+=,fchownat,utime,utimes,utimensat,futimesat,mknod,mknodat,write,writev,pwrite64,pwritev
calls+=,pwritev2,sendfile,copy_file_range,bind,execve
# -ff: a file per thread, so that no call is split over lines; -y: file descriptors with paths.
xg_start_game strace -ff -qq -y --seccomp-bpf -o "$XG_WORK/trace/t" -e trace="$calls"
started=$(date +%s)
xg_enter
sleep 0.3
xg_key ctrl+n
# A few rescues, then the time runs out (each rescue gives the time back a step).
sleep 1
for n in 1 4 7 10 13 2 5 8; do
    xg_click_house "$n"
    sleep 0.5
done
while ! xg_is_mapped "Gejm Ouvr"; do
    [ $(($(date +%s) - started)) -gt 60 ] && { xg_log "no game-over screen within 60 s"; break; }
    sleep 0.2
done
xg_wait_window "Gejm Ouvr" 1 || true
sleep 0.3
xg_key ctrl+q
xg_wait_exit 10 || kill "$XG_GAME_PID" 2>/dev/null || true
echo "scenario $scenario: the game ran $(($(date +%s) - started)) s and left with status $XG_STATUS"

# What the calls changed. A change is a call that succeeded; allowed are /dev, /proc, the runtime
# folder, and what has no name on disk (pipes, sockets, memory files, event descriptors).
perl -e '
    my ($runtime, $trace, $log) = @ARGV;
    my (%changes, %attempts, %programs);
    sub allowed {
        my ($path) = @_;
        return 1 if $path =~ m{^(/dev/|/proc/|pipe:|socket:|anon_inode:|/memfd:|UNIX|NETLINK)};
        return 1 if $path eq $log; # the output streams, which this script points there
        return 1 if $runtime ne "" && ($path eq $runtime || index($path, "$runtime/") == 0);
        return 0;
    }
    for my $file (glob("$trace/t.*")) {
        open(my $in, "<", $file) or die;
        while (my $line = <$in>) {
            next unless $line =~ /^(\w+)\((.*)\)\s+=\s+(-?\d+|\?)(.*)$/;
            my ($call, $args, $result, $rest) = ($1, $2, $3, $4);
            my $failed = $result eq "-1";
            if ($call eq "execve") {
                my ($program) = $args =~ /^"(?:.*\/)?([^"\/]*)"/;
                $programs{$program . ($failed ? " (not found; attempts along PATH)" : "")}++;
                next;
            }
            my @paths;
            if ($call =~ /^(open|openat)$/) {
                next unless $args =~ /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND/;
                if (!$failed && $rest =~ /^<(.*)>/) { @paths = ($1); }
                else { @paths = ($args =~ /"([^"]*)"/g); }
            } elsif ($call =~ /^(write|writev|pwrite64|pwritev|pwritev2|ftruncate|fallocate|fchmod|fchown|sendfile|copy_file_range)$/) {
                @paths = ($args =~ /^\d+<(.*?)>(?:,|$)/);
            } elsif ($call eq "bind") {
                @paths = ($args =~ /sun_path="([^"]*)"/);
            } else {
                @paths = ($args =~ /"([^"]*)"/g);
                shift @paths if $call =~ /^symlink/; # where the link points changes nothing
            }
            for my $path (@paths) {
                next if allowed($path);
                my $what = "$call $path";
                if ($failed) { $attempts{"$what ($1)"}++ if $rest =~ /(E[A-Z]+)/; }
                else { $changes{$what}++; }
            }
        }
    }
    print "changes outside /dev, /proc and the runtime folder: ", scalar(keys %changes), "\n";
    print "  $_ (x$changes{$_})\n" for sort keys %changes;
    print "failed attempts at changes there: ", scalar(keys %attempts), "\n";
    print "  $_ (x$attempts{$_})\n" for sort keys %attempts;
    print "programs started (execve): ", scalar(keys %programs), "\n";
    print "  $_ (x$programs{$_})\n" for sort keys %programs;
    exit(scalar(keys %changes) ? 1 : 0);
' "$runtime" "$XG_WORK/trace" "$XG_WORK/game.log" >"$XG_WORK/verdict" && clean=yes || clean=no
cat "$XG_WORK/verdict"
# The PulseAudio client makes a folder in /tmp when XDG_RUNTIME_DIR is unset; this run's go again.
awk '/^failed attempts/ { exit } $1 == "mkdir" && $2 ~ /^\/tmp\/pulse-[A-Za-z0-9]+$/ { print $2 }' "$XG_WORK/verdict" |
    xargs -r rmdir 2>/dev/null || true
if [ -n "$runtime" ]; then
    echo "left in the runtime folder: $(cd "$runtime" && find . -mindepth 1 | tr '\n' ' ')"
fi
echo "left in the home folder: $(cd "$HOME" && find . -mindepth 1 | tr '\n' ' ')"
echo "the game folder holds: $(ls "$XG_WORK/game" | tr '\n' ' ')"
[ "$clean" = yes ] && [ "$XG_STATUS" = 0 ]
