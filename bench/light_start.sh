#!/usr/bin/env bash
# What a script pays to start the programs: the processor time (user + system, every
# process of the run counted) of each program's --version, and of quenset --preview and
# tiselk --json over 840 camera pictures, beside jhead doing the same. The commands run in
# turn, round after round, so a busy machine slows them alike; the figures are medians. The
# machine's load is printed before and after, as the figures depend on it.
# Usage: bash bench/light_start.sh <build dir>
set -euo pipefail

build_dir=$(cd "${1:?build folder}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
# The sample pictures sit beside the checkout (or beside the folder of worktrees).
corpus=${CORPUS:-$root/../shared/corpus}
[ -d "$corpus" ] || corpus=$root/../../shared/corpus
rounds=${LIGHT_START_ROUNDS:-21}
count=840
scratch=${LIGHT_START_SCRATCH:-$build_dir/bench-light-start}

mapfile -t sources < <(find "$corpus" -type f -iname '*.jpg' | sort)
[ "${#sources[@]}" -gt 0 ] || { echo "no pictures in $corpus"; exit 1; }
if [ "$(ls "$scratch/pictures" 2>/dev/null | wc -l)" -ne "$count" ]; then
    rm -rf "$scratch/pictures"
    mkdir -p "$scratch/pictures"
    for ((i = 0; i < count; i++)); do
        from=${sources[i % ${#sources[@]}]}
        to=$scratch/pictures/$(printf 'p%05d.jpg' "$i")
        ln "$from" "$to" 2>/dev/null || cp "$from" "$to"
    done
    chmod -R u+w "$scratch/pictures"  # quenset lists only files it may rename
fi

export XDG_CONFIG_HOME=$scratch/config XDG_STATE_HOME=$scratch/state TZ=UTC
cd "$scratch/pictures"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
python3 - "$build_dir" "$rounds" <<'EOF'
import glob, os, statistics, subprocess, sys

build, rounds = sys.argv[1], int(sys.argv[2])
program = lambda name: os.path.join(build, name, name)
pictures = sorted(glob.glob("p*.jpg"))
commands = {
    "jhead -V": ["jhead", "-V"],
    **{f"{name} --version": [program(name), "--version"]
       for name in ("morvane", "tiselk", "brevoll", "quenset")},
    "jhead (840)": ["jhead", *pictures],
    "quenset --preview (840)": [program("quenset"), "--preview", ".", "--type", "jpg",
                                "--date", "--exif"],
    "tiselk --json (840)": [program("tiselk"), "--json", *pictures],
}

def cpu_ms(argv):
    # wait4 counts the process and every child it waited for (an exec'd program included).
    with open(os.devnull, "wb") as null:
        child = subprocess.Popen(argv, stdout=null, stderr=null)
        _, _, usage = os.wait4(child.pid, 0)
    return (usage.ru_utime + usage.ru_stime) * 1000

times = {label: [] for label in commands}
for _ in range(rounds):
    for label, argv in commands.items():
        times[label].append(cpu_ms(argv))
median = {label: statistics.median(values) for label, values in times.items()}

print(f"processor time (user + system), median of {rounds} interleaved rounds:")
for label in commands:
    print(f"    {label:26} {median[label]:8.2f} ms")
verdicts = []
for name in ("morvane", "tiselk", "brevoll", "quenset"):
    verdicts.append((f"{name} --version <= 4 ms", median[f"{name} --version"] <= 4.0))
for label, goal in (("quenset --preview (840)", 1.0), ("tiselk --json (840)", 2.0)):
    ratio = median[label] / median["jhead (840)"]
    print(f"    {label:26} {ratio:8.2f} x jhead")
    verdicts.append((f"{label.split(' (')[0]} <= {goal:.1f} x jhead", ratio <= goal))
print("goals: " + "; ".join(f"{goal} {'met' if met else 'MISSED'}" for goal, met in verdicts))
EOF
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
