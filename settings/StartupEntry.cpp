// Filled in as this service arrives.
