// Not built: the right half of a circle of includes.
