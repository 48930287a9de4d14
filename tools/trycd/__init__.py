"""try-cd: tries a CD's setup under Wine as each chosen Windows would run it."""
