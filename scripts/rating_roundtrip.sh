#!/usr/bin/env bash
# The rating round trip: 2,000 one-day matches among the sample sides written
# as Cricsheet files, rated back with pelmora-rate, and the rated sides played
# 2,000 times in the same fixtures; prints how far the regular players'
# figures, the side totals and the win shares moved, and how the recovered
# ratings compare with the true ones. Usage: scripts/rating_roundtrip.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cli=$build/pelmora-cli
rate=$build/rating/pelmora-rate
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sides=(northshire southmoor invicta harrowby)
names=(Northshire Southmoor Invicta Harrowby)
per=334  # 6 fixtures x 334 = 2,004 matches

play() {  # play FOLDER TEAMDIR
    local f=0
    for ((i = 0; i < 4; ++i)); do
        for ((j = i + 1; j < 4; ++j)); do
            "$cli" "/t1=$2/${3:-}${sides[i]}.xi" "/t2=$2/${3:-}${sides[j]}.xi" /r=$((1 + f * 100000)) \
                --matches=$per --cricsheet="$1" >/dev/null
            f=$((f + 1))
        done
    done
}

play "$work/archive" samples
start=$(date +%s.%N)
"$rate" "$work/archive" --out="$work/rated" --side=Northshire --side=Southmoor --side=Invicta --side=Harrowby
end=$(date +%s.%N)
echo "rating took $(echo "$end - $start" | bc) s"
for k in 0 1 2 3; do cp "$work/rated/${names[k]}.xi" "$work/rated/${sides[k]}.xi"; done
play "$work/replay" "$work/rated"
"$rate" "$work/replay" --out="$work/replayed" --simulations=100 >/dev/null

python3 - "$work" <<'PY'
import csv, glob, json, math, os, statistics, sys
work = sys.argv[1]

def players(path):
    return {r["name"]: r for r in csv.DictReader(open(path))}

real = players(f"{work}/rated/players.csv")
again = players(f"{work}/replayed/players.csv")

def err(a, b):
    return abs(b - a) / a if a else float("nan")

for threshold in (1000, 300):
    rows = []
    for name, r in real.items():
        a = again.get(name)
        if not a:
            continue
        if int(r["dismissals"]) >= threshold:
            rows.append(("batting average", name, err(float(r["batAverage"]), float(a["batAverage"]))))
            rows.append(("batting strike rate", name, err(float(r["batStrikeRate"]), float(a["batStrikeRate"]))))
        if int(r["wickets"]) >= threshold:
            rows.append(("economy", name, err(float(r["bowlEconomy"]), float(a["bowlEconomy"]))))
            rows.append(("bowling strike rate", name, err(float(r["bowlStrikeRate"]), float(a["bowlStrikeRate"]))))
    print(f"\nplayers with >= {threshold} dismissals or wickets: {len(set(n for _, n, _ in rows))}")
    for kind in ("batting average", "batting strike rate", "economy", "bowling strike rate"):
        e = [x for k, _, x in rows if k == kind]
        if e:
            worst = max((x, n) for k, n, x in rows if k == kind)
            print(f"  {kind:20s} n={len(e):2d}  median error {100*statistics.median(e):5.1f}%  "
                  f"max {100*worst[0]:5.1f}% ({worst[1]})")
    if rows:
        e = [x for _, _, x in rows]
        print(f"  all figures          median error {100*statistics.median(e):5.1f}%  max {100*max(e):5.1f}%  "
              f"over 20%: {sum(x > 0.2 for x in e)}")

def matches(folder):
    out = []
    for path in glob.glob(f"{folder}/*.json"):
        d = json.load(open(path))
        totals = {}
        for inn in d["innings"]:
            t = sum(dl["runs"]["total"] for o in inn["overs"] for dl in o["deliveries"])
            totals[inn["team"]] = totals.get(inn["team"], 0) + t
        out.append((tuple(sorted(d["info"]["teams"])), totals, d["info"]["outcome"].get("winner")))
    return out

first, second = matches(f"{work}/archive"), matches(f"{work}/replay")
print("\nside totals (runs per innings) and win shares, archive -> rated sides:")
inside = total = 0
fixtures = sorted(set(f for f, _, _ in first))
for fx in fixtures:
    for side in fx:
        a = [t[side] for f, t, _ in first if f == fx and side in t]
        b = [t[side] for f, t, _ in second if f == fx and side in t]
        m, s = statistics.mean(a), statistics.stdev(a)
        half = 1.96 * s / math.sqrt(len(a))
        ok = abs(statistics.mean(b) - m) <= half
        inside += ok; total += 1
        wa = sum(w == side for f, _, w in first if f == fx); na = sum(f == fx for f, _, _ in first)
        wb = sum(w == side for f, _, w in second if f == fx); nb = sum(f == fx for f, _, _ in second)
        p = wa / na; z = 1.959964
        c = (p + z*z/(2*na)) / (1 + z*z/na); h = z*math.sqrt(p*(1-p)/na + z*z/(4*na*na)) / (1 + z*z/na)
        okw = c - h <= wb / nb <= c + h
        inside += okw; total += 1
        print(f"  {side:10s} v {[x for x in fx if x != side][0]:10s} total {m:6.1f} ±{half:4.1f} -> "
              f"{statistics.mean(b):6.1f} {'in' if ok else 'OUT'};  wins {100*p:5.1f}% [{100*(c-h):4.1f},{100*(c+h):4.1f}] "
              f"-> {100*wb/nb:5.1f}% {'in' if okw else 'OUT'}")
print(f"  inside the 95% intervals: {inside} of {total}")

# Recovered ratings against the true ones, the true shifted to the convention:
# the ball-weighted average bowler at bowlTempo 300 and bowlThreat 100.
true = {}
for path in glob.glob("samples/*.xi"):
    for line in open(path):
        f = line.split()
        if len(f) == 9 and not line.startswith("#"):
            true[f[0]] = list(map(int, f[1:]))
balls = sum(int(r["ballsBowled"]) for r in real.values())
tempo = sum(int(r["ballsBowled"]) * true[n][5] for n, r in real.items()) / balls
threat = sum(int(r["ballsBowled"]) * true[n][6] for n, r in real.items()) / balls
dt, dh = 300 - tempo, 100 - threat
print(f"\ntrue average bowler {tempo:.0f}/{threat:.0f}: true batting terms shifted by {-dt:+.0f}/{-dh:+.0f}")
for label, col, idx, shift, bowl in (("batTempo", "batTempo", 0, -dt, False), ("batRisk", "batRisk", 1, -dh, False),
                                      ("batSurvival", "batSurvival", 2, 0, False), ("bowlTempo", "bowlTempo", 5, dt, True),
                                      ("bowlThreat", "bowlThreat", 6, dh, True)):
    d = [abs(int(r[col]) - (true[n][idx] + shift)) for n, r in real.items() if (not bowl or int(r["isBowler"]))]
    print(f"  {label:12s} median |recovered - true| {statistics.median(d):5.1f}  max {max(d):5.1f}  (n={len(d)})")
PY
