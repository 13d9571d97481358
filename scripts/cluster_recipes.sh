#!/usr/bin/env bash
# Plays the README's recipes for a forecast in parts, as printed there, and
# checks that each merge prints byte for byte what the single run prints:
#   1. GNU parallel on this machine;
#   2. a Slurm job array and its dependent merge, on a one-node Slurm (with
#      its own munged) that this script starts in a scratch folder and stops.
# The commands are read from the README's code blocks marked
# "<!-- cluster-recipe: NAME -->"; only the number of tournaments and of
# array parts are made smaller, so a README edit that breaks a recipe fails.
# Needs build/pelmora-cli, GNU parallel and slurm-wlm (which brings munge);
# runs as root, as CI does. Usage: bash scripts/cluster_recipes.sh
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

MATCHES=2000    # tournaments per forecast (the README plays more)
PARTS=4         # parts of the Slurm job array (the README has 100)
WAIT_SECONDS=60 # bound on each wait for Slurm

fail() {
    echo "cluster_recipes.sh: $*" >&2
    exit 1
}

[ -x build/pelmora-cli ] || fail "build/pelmora-cli is missing: build it first"
for tool in parallel munged slurmctld slurmd sbatch sinfo squeue; do
    command -v "$tool" >/dev/null || fail "$tool is missing: bash scripts/setup.sh parallel slurm-wlm"
done
[ "$(id -u)" -eq 0 ] || fail "the one-node Slurm runs its daemons as root: run as root"

# Prints the code block that follows the README line "<!-- cluster-recipe: NAME ...".
recipe() {
    local text
    text=$(awk -v marker="<!-- cluster-recipe: $1 " '
        index($0, marker) == 1 { found = 1; next }
        found && /^```/ { if (inside) exit; inside = 1; next }
        inside { print }' "$repo/README.md")
    [ -n "$text" ] || fail "README.md has no code block marked \"<!-- cluster-recipe: $1 ...\""
    printf '%s\n' "$text"
}

# Replaces PATTERN by REPLACEMENT (sed -E) in the recipe FILE, failing when
# PATTERN is not there: the recipe then no longer has the shape checked here.
substitute() {
    grep -Eq -- "$2" "$1" || fail "README recipe $(basename "$1") has nothing matching /$2/: update scripts/cluster_recipes.sh"
    sed -Ei "s|$2|$3|g" "$1"
}

# The single run that a sharded command line stands for: continuation lines
# joined, the sharding, the thread count, the output redirection and
# GNU parallel's own words taken out.
single_run_of() {
    sed -E ':a; /\\$/ { N; s/\\\n[[:space:]]*/ /; ba }' |
        grep -- '--shard=' |
        sed -E "s/^parallel //; s/ :::.*//; s/ --shard=[^ ]+//; s/ --threads=[^ ]+//; s/ '?>'? *[^ ]+//"
}

# Compares two outputs byte for byte, showing the difference on failure.
same_bytes() {
    cmp -s "$1" "$2" && return 0
    diff -u "$1" "$2" | head -n 40 >&2 || true
    fail "$3: the merge does not print what the single run prints"
}

scratch=$(mktemp -d /tmp/pelmora-cluster.XXXXXX)
chmod 0755 "$scratch" # munged wants its socket reachable by every user
daemons=()     # process ids of the daemons started here
daemon_names=() # and their names
cleanup() {
    local pid
    # Jobs still queued or running (after a failure) are cancelled first.
    if [[ " ${daemon_names[*]} " == *" slurmctld "* ]] && ! queue_empty; then
        timeout 10 scancel --user=root 2>/dev/null || true
        sleep 1
    fi
    for pid in "${daemons[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${daemons[@]}"; do
        # Bounded: a daemon that ignores SIGTERM for 10 s is killed.
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || continue 2
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

echo "-- GNU parallel: $MATCHES tournaments"
mkdir "$scratch/parallel"
ln -s "$repo/build" "$repo/samples" "$scratch/parallel/"
recipe parallel >"$scratch/parallel.sh"
substitute "$scratch/parallel.sh" '--matches=[0-9]+' "--matches=$MATCHES"
single_run_of <"$scratch/parallel.sh" >"$scratch/parallel-single.sh"
(
    cd "$scratch/parallel"
    # GNU parallel's citation notice stays out of CI's log.
    export PARALLEL_HOME="$scratch/parallel-home"
    mkdir -p "$PARALLEL_HOME" && touch "$PARALLEL_HOME/will-cite"
    bash -euo pipefail ../parallel.sh >../parallel-merged.txt ||
        fail "the README's GNU parallel recipe failed (exit status $?)"
    bash -euo pipefail ../parallel-single.sh >../parallel-single.txt ||
        fail "the single run $(cat ../parallel-single.sh) failed (exit status $?)"
)
same_bytes "$scratch/parallel-single.txt" "$scratch/parallel-merged.txt" "GNU parallel recipe"
parts=("$scratch"/parallel/part*.json)
echo "GNU parallel: ${#parts[@]} parts merged into the single run's $(wc -c <"$scratch/parallel-single.txt") bytes ($SECONDS s so far)"

echo "-- One-node Slurm: $PARTS parts of $MATCHES tournaments"
node=$(hostname -s)
cpus=$(nproc)
((cpus >= 2)) || cpus=2 # the recipe asks two CPUs a part
mkdir -p "$scratch"/{munge,state,spool,slurm}
# Its own munge key and socket: a munged of the machine, if any, is left alone.
dd if=/dev/urandom of="$scratch/munge/munge.key" bs=1024 count=1 status=none
chmod 0400 "$scratch/munge/munge.key"
export SLURM_CONF="$scratch/slurm.conf"
cat >"$SLURM_CONF" <<EOF
ClusterName=pelmora
SlurmctldHost=$node(127.0.0.1)
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$scratch/munge/socket
StateSaveLocation=$scratch/state
SlurmdSpoolDir=$scratch/spool
SlurmctldPidFile=$scratch/slurmctld.pid
SlurmdPidFile=$scratch/slurmd.pid
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
MpiDefault=none
SchedulerType=sched/builtin
# Each array part is started as soon as the one before it ends, not 3 s later.
SchedulerParameters=batch_sched_delay=0
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
DependencyParameters=kill_invalid_depend
SlurmdParameters=config_overrides
NodeName=$node NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=pelmora Nodes=$node Default=YES MaxTime=INFINITE State=UP
EOF

# Shows the last lines of every daemon's log, then fails.
daemon_failure() {
    local log
    for log in "$scratch"/{munged,slurmctld,slurmd}.out; do
        [ -s "$log" ] || continue
        echo "--- last lines of $log" >&2
        tail -n 25 "$log" >&2
    done
    if [[ " ${daemon_names[*]} " == *" slurmctld "* ]]; then
        echo "--- Slurm queue" >&2
        timeout 15 squeue -o '%i %j %T %r' >&2 2>&1 || true
    fi
    fail "$*"
}

# Starts a daemon in the foreground of a background job, so that its id is
# known and it can be stopped on exit; it logs to $scratch/NAME.out.
start_daemon() {
    local name=$1
    shift
    "$@" >"$scratch/$name.out" 2>&1 &
    daemons+=($!)
    daemon_names+=("$name")
}

# Waits up to WAIT_SECONDS for CONDITION (a command) to succeed, checking
# that the daemons still run; fails with their logs and WHAT otherwise.
wait_for() {
    local what=$1 deadline=$((SECONDS + WAIT_SECONDS)) i
    shift
    until "$@"; do
        for i in "${!daemons[@]}"; do
            kill -0 "${daemons[$i]}" 2>/dev/null || daemon_failure "${daemon_names[$i]} stopped while waiting for $what"
        done
        ((SECONDS < deadline)) || daemon_failure "timed out after $WAIT_SECONDS s waiting for $what"
        sleep 0.2
    done
}
# Client calls are bounded too: Slurm's clients retry a controller that
# does not answer.
node_idle() { [ "$(timeout 10 sinfo -h -n "$node" -o %t 2>/dev/null)" = idle ]; }
queue_empty() {
    local jobs
    jobs=$(timeout 10 squeue -h -o %i 2>/dev/null) || return 1
    [ -z "$jobs" ]
}

start_daemon munged munged --foreground --key-file="$scratch/munge/munge.key" \
    --socket="$scratch/munge/socket" --pid-file="$scratch/munge/munged.pid" \
    --log-file="$scratch/munged.log" --seed-file="$scratch/munge/seed"
wait_for "munged to open its socket" test -S "$scratch/munge/socket"
start_daemon slurmctld slurmctld -D -i -f "$SLURM_CONF"
start_daemon slurmd slurmd -D -f "$SLURM_CONF"
wait_for "sinfo to show node $node idle" node_idle

cd "$scratch/slurm"
cp "$repo"/samples/t20_cup.json "$repo"/samples/*.xi .
# shellcheck disable=SC2094 # the README's block named forecast.sh, written to forecast.sh
recipe forecast.sh >forecast.sh
substitute forecast.sh '--array=1-[0-9]+' "--array=1-$PARTS"
substitute forecast.sh '(--shard=[^ ]+/)[0-9]+' "\\1$PARTS"
substitute forecast.sh '--matches=[0-9]+' "--matches=$MATCHES"
recipe submit >../submit.sh
single_run_of <forecast.sh >../slurm-single.sh
# The jobs find pelmora-cli on the PATH that sbatch hands on to them.
export PATH="$repo/build:$PATH"
timeout "$WAIT_SECONDS" bash -euo pipefail ../submit.sh >../submit.out ||
    daemon_failure "the README's sbatch commands failed (exit status $?)"
wait_for "the jobs to leave the Slurm queue" queue_empty
if [ ! -s forecast.txt ]; then
    # What the jobs said, and what the controller did with them.
    for out in slurm-*.out; do
        if [ -s "$out" ]; then
            echo "--- $out" >&2
            tail -n 20 "$out" >&2
        fi
    done
    echo "--- last lines of $scratch/slurmctld.out" >&2
    tail -n 12 "$scratch/slurmctld.out" >&2
    fail "the Slurm recipe left no forecast.txt (sbatch said: $(tr '\n' ' ' <../submit.out))"
fi
bash -euo pipefail ../slurm-single.sh >../slurm-single.txt ||
    fail "the single run $(cat ../slurm-single.sh) failed (exit status $?)"
same_bytes ../slurm-single.txt forecast.txt "Slurm recipe"
parts=(part-*.json)
echo "Slurm: ${#parts[@]} array parts merged by the dependent job into the single run's $(wc -c <forecast.txt) bytes ($SECONDS s in all)"
