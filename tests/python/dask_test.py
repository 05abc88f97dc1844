"""The module over Dask arrays on a local cluster of processes: the same
numbers as one process, chunk by chunk."""

import numpy as np
from dask import array as da
from distributed import Client, LocalCluster

import quorvane

NAMES = ("alpha", "CP", "KS", "rho", "Vphi")


def properties_block(eos, P, T):
    """One chunk of the (P, T) grid: the properties a geodynamics table holds, stacked."""
    found = eos.properties(P=P, T=T, molar_mass=40.3044)
    return np.stack([found[name] for name in NAMES])


def test_a_process_cluster_gives_the_single_process_properties():
    eos = quorvane.Eos(type="birch-murnaghan", thermal="mgd", V0=11.248, K0=160.2, Kp0=3.99,
                       Tref=300, theta0=773, gamma0=1.524, q=1.65, natoms=2)
    P, T = np.meshgrid(np.linspace(0.0, 120.0, 90), np.linspace(300.0, 3000.0, 70),
                       indexing="ij")
    chunks = (40, 30)
    grid = da.map_blocks(properties_block, eos, da.from_array(P, chunks=chunks),
                         da.from_array(T, chunks=chunks), new_axis=0,
                         chunks=((len(NAMES),),) + da.from_array(P, chunks=chunks).chunks,
                         dtype=np.float64)
    assert grid.npartitions > 1
    # Ports of the operating system's choosing: clusters of other tests never meet.
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, scheduler_port=0,
                      dashboard_address=None) as cluster, Client(cluster):
        distributed = grid.compute()
    single = properties_block(eos, P, T)
    assert distributed.view(np.uint64).tolist() == single.view(np.uint64).tolist()
