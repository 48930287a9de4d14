// no bypass yet
user_pref("network.proxy.type", 1);
