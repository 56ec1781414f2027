// Not built: the left half of a circle of includes.
