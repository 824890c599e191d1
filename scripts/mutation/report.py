"""The survivors and the score of a run."""


def summary(results, excluded, stale, seconds):
    order = {}
    results = sorted(results, key=lambda r: (r[0].file, r[0].start, r[0].replacement))
    for m, outcome in results:
        order.setdefault(outcome, []).append(m)
    survivors = order.get("survived", [])
    killed = len(order.get("killed", [])) + len(order.get("timed out", []))
    compiling = killed + len(survivors)
    lines = ["", f"Survivors ({len(survivors)}):"]
    lines += [f"  {m.describe()}    [{m.operator}]" for m in survivors] or ["  none"]
    if stale:
        lines += ["", "Equivalents that match no mutant any more (remove or update them):"]
        lines += [f"  {k[0]} | {k[1]} | {k[2]} ==> {k[3]}" for k in stale]
    score = 100.0 * killed / compiling if compiling else 100.0
    lines += [
        "",
        f"Score: {killed} of {compiling} compiling mutants killed ({score:.1f}%), "
        f"{len(order.get('timed out', []))} of them by timeout; "
        f"{len(excluded)} equivalents excluded; {len(order.get('did not compile', []))} did not compile.",
        f"Total time: {int(seconds) // 60} min {int(seconds) % 60} s.",
    ]
    return lines


def equivalents_check(results):
    """The recorded equivalents a test kills: a wrong entry, or a test stricter than Windows."""
    lines = ["", "Recorded as equivalent, yet killed (a wrong entry, or a test stricter than Windows):"]
    lines += [f"  {m.describe()}    [{o}]" for m, o in results if o != "survived"] or ["  none"]
    return lines
