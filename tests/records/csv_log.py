"""What the fault tests share: the log read as a spreadsheet reads it (RFC 4180, Python's csv), and the saves
of one save_once process."""
import csv
import io
import os
import subprocess

BOM = b"\xef\xbb\xbf"


def rows(path):
    """The rows of the log; a log without exactly one leading mark has none."""
    raw = open(path, "rb").read()
    if not raw.startswith(BOM) or raw.count(BOM) != 1:
        raise AssertionError(f"{path}: mark missing or repeated")
    return list(csv.reader(io.StringIO(raw[3:].decode("utf-8"), newline="")))


def save(driver, folder, count=1, limit=None, prefix=(), timeout=60):
    """Runs `count` saves in one process; returns its exit code (negative: the signal that ended it)."""
    def limited():
        import resource
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    return subprocess.run([*prefix, driver, folder, str(count)], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, preexec_fn=limited if limit is not None else None,
                          timeout=timeout).returncode


def scratch():
    """A scratch folder, in memory where the machine has /dev/shm: the kills are the point, not the disk."""
    import tempfile
    shm = "/dev/shm"
    return tempfile.mkdtemp(dir=shm if os.path.isdir(shm) and os.access(shm, os.W_OK) else None)


def only_logs(folder, logs=("T146.csv",)):
    left = sorted(os.listdir(folder))
    if left != sorted(logs):
        raise AssertionError(f"{folder} holds {left}, not only {sorted(logs)}")
