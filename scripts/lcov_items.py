"""Reads an lcov file of the coverage build into what it covers of the product code."""
import os

NOT_PRODUCT = ("tests", "bench", "fuzz")


def product_path(path, tree):
    """The path relative to the tree, or None outside it or in tests, benchmarks, fuzz targets and builds."""
    path = os.path.normpath(path)
    prefix = tree.rstrip("/") + "/"
    if not path.startswith(prefix):
        return None
    path = path[len(prefix):]
    top = path.split("/")[0]
    return None if top in NOT_PRODUCT or top.startswith("build") else path


def covered(lcov_text, tree):
    """(lines, branches): the executed lines as (file, line), and the taken branch sides as
    (file, line, side), side 0 for a condition found true and 1 for false, by any condition of the
    line in any instance of the code. lcov numbers the outcomes of a function's conditions in pairs,
    true then false, but the numbers shift with the instances a test program makes of a header
    template, so only the side is kept."""
    lines, branches = set(), set()
    name = None
    for row in lcov_text.splitlines():
        if row.startswith("SF:"):
            name = product_path(row[3:], tree)
        elif name is None:
            continue
        elif row.startswith("DA:"):
            line, count = row[3:].split(",")[:2]
            if int(count) > 0:
                lines.add((name, int(line)))
        elif row.startswith("BRDA:"):
            line, _, outcome, taken = row[5:].split(",")
            if taken not in ("-", "0"):
                branches.add((name, int(line), int(outcome) % 2))
    return lines, branches
