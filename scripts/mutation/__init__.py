"""Mutation testing of the launcher's logic: mutants, private trees, the runner, the report."""
