"""The run: a queue of mutants, one worker per private tree, each mutant built and tested."""

import os
import queue
import signal
import subprocess
import threading
import time

from .settings import TARGET


class Runner:
    """Shared state of one run: the mutants still to run, the results and what is mutated now."""

    def __init__(self, args, mutants):
        self.args = args
        self.todo = queue.Queue()
        for m in mutants:
            self.todo.put(m)
        self.total = len(mutants)
        self.results = []
        self.lock = threading.Lock()
        self.stop = threading.Event()
        self.mutated = {}  # path -> original bytes, while a mutant is on disk
        self.children = set()
        self.started = time.monotonic()

    def run_child(self, cmd, cwd, timeout):
        """(exit status or None on timeout, output) of cmd in its own process group."""
        proc = subprocess.Popen(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                start_new_session=True)
        with self.lock:
            self.children.add(proc)
        try:
            out, _ = proc.communicate(timeout=timeout)
            return proc.returncode, out.decode(errors="replace")
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.communicate()
            return None, ""
        finally:
            with self.lock:
                self.children.discard(proc)

    def kill_children(self):
        with self.lock:
            for proc in self.children:
                try:
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass

    def restore_all(self):
        with self.lock:
            for path, data in list(self.mutated.items()):
                path.write_bytes(data)
                del self.mutated[path]


class Worker(threading.Thread):
    def __init__(self, runner, index, tree, build_dir, parallel):
        super().__init__(daemon=True)
        self.runner, self.index, self.tree, self.build_dir = runner, index, tree, build_dir
        self.parallel = parallel
        self.last_build_end = 0.0
        self.error = None

    def build(self):
        cmd = ["cmake", "--build", str(self.build_dir), "--target", TARGET, "--parallel", str(self.parallel)]
        status, out = self.runner.run_child(cmd, self.tree, 1800)
        self.last_build_end = time.time()
        return status == 0, out

    def test(self, timeout):
        cmd = [str(self.build_dir / TARGET), "--gtest_fail_fast", "--gtest_brief=1"]
        return self.runner.run_child(cmd, self.build_dir, timeout)

    def write(self, path, data):
        # A file rewritten within the file system's clock tick of the last build could look older
        # than the object built from the previous text; wait that tick out.
        wait = self.last_build_end + 0.02 - time.time()
        if wait > 0:
            time.sleep(wait)
        path.write_bytes(data)

    def run_mutant(self, m):
        path = self.tree / m.file
        original = path.read_bytes()
        mutated = original[: m.start] + m.replacement.encode("latin-1") + original[m.end :]
        with self.runner.lock:
            self.runner.mutated[path] = original
        began = time.monotonic()
        try:
            self.write(path, mutated)
            built, _ = self.build()
            if not built:
                outcome = "did not compile"
            else:
                status, _ = self.test(self.runner.args.timeout)
                outcome = "timed out" if status is None else ("killed" if status != 0 else "survived")
        finally:
            with self.runner.lock:
                if path in self.runner.mutated:
                    self.write(path, original)
                    del self.runner.mutated[path]
        return outcome, time.monotonic() - began

    def run(self):
        r = self.runner
        try:
            while not r.stop.is_set():
                try:
                    m = r.todo.get_nowait()
                except queue.Empty:
                    return
                outcome, seconds = self.run_mutant(m)
                if r.stop.is_set():
                    return  # the run was cut short; this result may come from a killed child
                with r.lock:
                    r.results.append((m, outcome))
                    done = len(r.results)
                    elapsed = int(time.monotonic() - r.started)
                    print(f"[{done:4}/{r.total} {elapsed // 60:3}:{elapsed % 60:02}] {outcome:15} "
                          f"{seconds:5.1f}s  {m.describe()}", flush=True)
        except Exception as e:  # reported by the main thread; the finally above restored the file
            self.error = e
            r.stop.set()
