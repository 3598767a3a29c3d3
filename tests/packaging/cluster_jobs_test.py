#!/usr/bin/env python3
"""The cluster examples of docs/SCALING.md, checked where they cannot be run: the Kubernetes
Indexed Job parses as YAML and is a batch/v1 Job whose pods each take their own shard of the
mounted share, with the shard count matching completions and parallelism, and the Slurm array
script is valid shell that takes its shard from the array.

    cluster_jobs_test.py <packaging folder> <pendrel program>
"""
import re
import subprocess
import sys

import yaml


def check(condition, what):
    if not condition:
        print("FAIL: " + what)
        sys.exit(1)


def options_of(pendrel):
    help_text = subprocess.run([pendrel, "--help"], capture_output=True, text=True).stdout
    return set(re.findall(r"--[a-z][a-z-]*", help_text))


def check_kubernetes(path, options):
    with open(path, encoding="utf-8") as file:
        job = yaml.safe_load(file)
    check(job["apiVersion"] == "batch/v1" and job["kind"] == "Job", "a batch/v1 Job")
    body = job["spec"]
    check(body["completionMode"] == "Indexed", "an Indexed Job")
    pod = body["template"]["spec"]
    check(pod["restartPolicy"] == "Never", "restartPolicy Never (needed by podFailurePolicy)")
    container = pod["containers"][0]
    command = " ".join(container["command"] + container["args"])
    shard = re.search(r'--shard "\$JOB_COMPLETION_INDEX/(\d+)"', command)
    check(shard is not None, "each pod takes --shard $JOB_COMPLETION_INDEX/N")
    count = int(shard.group(1))
    check(body["completions"] == count and body["parallelism"] == count,
          "completions and parallelism equal the shard count")
    for option in re.findall(r"--[a-z][a-z-]*", command):
        check(option in options, option + " is an option pendrel knows")
    mounts = {m["name"]: m["mountPath"] for m in container["volumeMounts"]}
    volumes = {v["name"] for v in pod["volumes"]}
    check(set(mounts) <= volumes, "every mount names a volume")
    check(any(command.rstrip().split(";")[0].endswith(" " + p) for p in mounts.values()),
          "the path converted is the mounted share")
    rules = body["podFailurePolicy"]["rules"]
    check(any(r["action"] == "FailJob" and 2 in r["onExitCodes"]["values"] for r in rules),
          "a refused command line fails the job")


def check_slurm(path, options):
    check(subprocess.run(["bash", "-n", path]).returncode == 0, "the Slurm script is valid")
    with open(path, encoding="utf-8") as file:
        script = file.read()
    check('--shard "$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT"' in script,
          "each task takes its shard of the array")
    command = script[script.index("exec pendrel"):]
    for option in re.findall(r"--[a-z][a-z-]*", command):
        check(option in options, option + " is an option pendrel knows")


def main():
    packaging, pendrel = sys.argv[1], sys.argv[2]
    options = options_of(pendrel)
    check("--shard" in options, "pendrel --help lists --shard")
    check_kubernetes(packaging + "/kubernetes/pendrel-convert-job.yaml", options)
    check_slurm(packaging + "/slurm/pendrel-convert.sbatch", options)
    print("the Kubernetes Job and the Slurm array are consistent")


main()
